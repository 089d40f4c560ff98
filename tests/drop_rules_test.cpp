#include "tabs/drop_rules.h"

#include <vector>

#include <gtest/gtest.h>

#include "qstring_printer.h"

TEST(DropEffectFor, ShortcutsMoveOrCopyAnythingElseLinks) {
    const struct {
        std::vector<const char*> paths;
        bool ctrl;
        DropEffect effect;
        bool readsAsShortcut = true;
    } rows[] = {
        {{}, false, DropEffect::None},
        // several paths: their common effect, a link when they differ
        {{"/a/x.lnk", "/a/y.lnk"}, false, DropEffect::Move},
        {{"/a/x.lnk", "/a/y.LNK"}, true, DropEffect::Copy},
        {{"/a/x.txt", "/a/y.txt"}, true, DropEffect::Link},
        {{"/a/x.lnk", "/a/y.txt"}, false, DropEffect::Link},
        {{"/home/me/Desktop/Editor.lnk"}, false, DropEffect::Move},
        {{"/home/me/Desktop/Editor.LNK"}, true, DropEffect::Copy},
        {{"/usr/bin/editor"}, false, DropEffect::Link},
        {{"/usr/bin/editor"}, true, DropEffect::Link},
        {{"/home/me/notes.txt"}, true, DropEffect::Link},
        // the type is looked for across separators: this folder's "type" is "lnk/readme"
        {{"/home/me/old.lnk/readme"}, false, DropEffect::Link},
        // a folder, or any file, named as a shortcut is linked like any other path
        {{"/home/me/holiday.lnk"}, false, DropEffect::Link, false},
        {{"/home/me/holiday.lnk"}, true, DropEffect::Link, false},
    };
    for (const auto& row : rows) {
        QStringList paths;
        for (const char* path : row.paths)
            paths.append(QString::fromUtf8(path));
        const auto reads = [&](const QString&) { return row.readsAsShortcut; };
        EXPECT_EQ(DropEffectFor(paths, row.ctrl, reads), row.effect)
            << paths.join(QLatin1Char(' ')).toStdString();
    }
}

TEST(SplitDropPath, NameTypeAndDirectory) {
    const struct {
        const char* path;
        const char* name;
        const char* type;
        const char* directory;
    } rows[] = {
        {"/opt/tools/Run.SH", "Run.SH", "sh", "/opt/tools/"},
        {"/opt/tools/archive.tar.gz", "archive.tar.gz", "gz", "/opt/tools/"},
        {"/opt/my.tools/readme", "readme", "tools/readme", "/opt/my.tools/"},
        {"/opt/tools/plain", "plain", "", "/opt/tools/"},
        {"/opt/tools/dotted.", "dotted.", "", "/opt/tools/"},
    };
    for (const auto& row : rows) {
        const DropPath parts = SplitDropPath(QString::fromUtf8(row.path));
        EXPECT_EQ(parts.name, QString::fromUtf8(row.name)) << row.path;
        EXPECT_EQ(parts.type, QString::fromUtf8(row.type)) << row.path;
        EXPECT_EQ(parts.directory, QString::fromUtf8(row.directory)) << row.path;
    }
}

TEST(LinkFileName, ReplacesTheLastExtensionAndEscapes) {
    const struct {
        const char* name;
        const char* link;
    } rows[] = {
        {"archive.tar.gz", "archive.tar.lnk"},
        {"editor", "editor.lnk"},
        {"notes.", "notes.lnk"},
        {".profile", ".profile.lnk"},
        {"Old.LNK", "Old.lnk"},
        {"100% sure?.txt", "100%25 sure%3F.lnk"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(LinkFileName(QString::fromUtf8(row.name)), QString::fromUtf8(row.link)) << row.name;
    EXPECT_EQ(LinkDescription(QStringLiteral("editor.bin")), QStringLiteral("Launches editor.bin."));
}

TEST(LiesInTabFolder, OnlyDirectlyInsideTheFolderIgnoringLetterCase) {
    const QString folder = QStringLiteral("/k/Tabs/Games");
    EXPECT_TRUE(LiesInTabFolder(SplitDropPath(QStringLiteral("/k/Tabs/Games/Chess.lnk")), folder));
    EXPECT_TRUE(LiesInTabFolder(SplitDropPath(QStringLiteral("/k/tabs/GAMES/Chess.lnk")), folder));
    EXPECT_FALSE(LiesInTabFolder(SplitDropPath(QStringLiteral("/k/Tabs/Games/sub/Chess.lnk")), folder));
    EXPECT_FALSE(LiesInTabFolder(SplitDropPath(QStringLiteral("/k/Tabs/Tools/Chess.lnk")), folder));
}
