#include "core/tab_set_names.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "common/error.h"

TEST(ParseLegacyValue, SplitsAtTheFirstHashUnlessItIsLast) {
    const struct {
        const char* value;
        const char* target;
        const char* arguments;
        const char* folder;
    } rows[] = {
        {"C:\\Tools\\t.exe#-v -x", "C:\\Tools\\t.exe", "-v -x", "C:\\Tools\\"},
        {"C:\\Tools\\t.exe#", "C:\\Tools\\t.exe#", "", "C:\\Tools\\"},
        {"/usr/bin/gimp", "/usr/bin/gimp", "", "/usr/bin/"},
        {"/opt/a#b#c", "/opt/a", "b#c", "/opt/"},
        {"D:game.exe", "D:game.exe", "", "D:"},
        {"notepad", "notepad", "", ""},
        {"#x", "", "x", ""},
    };
    for (const auto& row : rows) {
        const LegacyShortcut s = ParseLegacyValue(QString::fromLatin1(row.value));
        EXPECT_EQ(s.Target, QString::fromLatin1(row.target)) << row.value;
        EXPECT_EQ(s.Arguments, QString::fromLatin1(row.arguments)) << row.value;
        EXPECT_EQ(s.WorkingDir, QString::fromLatin1(row.folder)) << row.value;
    }
}

TEST(LegacyTabFolderName, KeepsEveryTabInsideTheTabsFolder) {
    EXPECT_EQ(LegacyTabFolderName(QStringLiteral("Games")), QStringLiteral("Games"));
    EXPECT_EQ(LegacyTabFolderName(QStringLiteral("A:B")), QStringLiteral("A:B")); // used unchanged
    EXPECT_EQ(LegacyTabFolderName(QStringLiteral("..")), QStringLiteral("%2E%2E"));
    EXPECT_EQ(LegacyTabFolderName(QStringLiteral(".")), QStringLiteral("%2E"));
    EXPECT_EQ(LegacyTabFolderName(QStringLiteral("../../etc")), QStringLiteral("..%2F..%2Fetc"));
    EXPECT_EQ(LegacyTabFolderName(QString()), QStringLiteral("%20"));
}

TEST(ItemRename, KeepsTheExtensionAndEscapesTheAnswer) {
    const ItemFileName parts = SplitItemFileName(QStringLiteral("/t/Games/Editor.lnk"));
    EXPECT_EQ(parts.Base, QStringLiteral("Editor"));
    EXPECT_EQ(parts.Extension, QStringLiteral("lnk"));
    EXPECT_EQ(RenamedItemPath(QStringLiteral("/t/Games/Editor.lnk"), QStringLiteral("Text: Editor"),
                              parts.Extension),
              QStringLiteral("/t/Games/Text%3A Editor.lnk"));

    const ItemFileName escaped = SplitItemFileName(QStringLiteral("/t/G/x%3Ay.tar.lnk"));
    EXPECT_EQ(escaped.Base, QStringLiteral("x:y.tar"));
    EXPECT_EQ(escaped.Extension, QStringLiteral("lnk"));

    EXPECT_THROW(SplitItemFileName(QStringLiteral("/t/G/bad%zz.lnk")), Error);
}

TEST(RenameEntry, FailsRatherThanReplaceOrMoveElsewhere) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString tabs = dir.path() + QStringLiteral("/Tabs");
    QDir().mkpath(tabs + QStringLiteral("/A"));
    QDir().mkpath(tabs + QStringLiteral("/B"));
    QFile marker(tabs + QStringLiteral("/A/keep.lnk"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();

    // Onto an existing folder, into another folder, or to nothing: refused, nothing moves.
    EXPECT_FALSE(RenameEntry(tabs + QStringLiteral("/A"), tabs + QStringLiteral("/B")));
    EXPECT_FALSE(RenameEntry(tabs + QStringLiteral("/A"), tabs + QStringLiteral("/B/A")));
    EXPECT_FALSE(RenameEntry(tabs + QStringLiteral("/A"), tabs + QStringLiteral("/..")));
    EXPECT_FALSE(RenameEntry(tabs + QStringLiteral("/A"), tabs + QStringLiteral("/")));
    EXPECT_TRUE(QFile::exists(tabs + QStringLiteral("/A/keep.lnk")));
    EXPECT_FALSE(QFile::exists(tabs + QStringLiteral("/B/A")));

    // A case change is a rename of its own on this file system.
    EXPECT_TRUE(RenameEntry(tabs + QStringLiteral("/A/keep.lnk"), tabs + QStringLiteral("/A/KEEP.lnk")));
    EXPECT_TRUE(QFile::exists(tabs + QStringLiteral("/A/KEEP.lnk")));
    EXPECT_TRUE(RenameEntry(tabs + QStringLiteral("/A"), tabs + QStringLiteral("/C")));
    EXPECT_TRUE(QFile::exists(tabs + QStringLiteral("/C/KEEP.lnk")));
}
