#include "tabs/drop_rules.h"

#include <vector>

#include <gtest/gtest.h>

#include "qstring_printer.h"
#include "tabs/open_command.h"

TEST(DropEffectFor, OneShortcutMovesOrCopiesAnythingElseLinks) {
    const struct {
        std::vector<const char*> paths;
        bool ctrl;
        DropEffect effect;
    } rows[] = {
        {{}, false, DropEffect::None},
        {{"/a/x.lnk", "/a/y.lnk"}, false, DropEffect::None},
        {{"/a/x.txt", "/a/y.txt"}, true, DropEffect::None},
        {{"/home/me/Desktop/Editor.lnk"}, false, DropEffect::Move},
        {{"/home/me/Desktop/Editor.LNK"}, true, DropEffect::Copy},
        {{"/usr/bin/editor"}, false, DropEffect::Link},
        {{"/usr/bin/editor"}, true, DropEffect::Link},
        {{"/home/me/notes.txt"}, true, DropEffect::Link},
        // the type is looked for across separators: this folder's "type" is "lnk/readme"
        {{"/home/me/old.lnk/readme"}, false, DropEffect::Link},
    };
    for (const auto& row : rows) {
        QStringList paths;
        for (const char* path : row.paths)
            paths.append(QString::fromUtf8(path));
        EXPECT_EQ(DropEffectFor(paths, row.ctrl), row.effect) << paths.join(QLatin1Char(' ')).toStdString();
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

TEST(SplitOpenCommand, QuotesSpacesAndThePlaceholder) {
    const QString p = QStringLiteral("/home/me/a b.txt");
    const struct {
        const char* command;
        const char* target;
        const char* arguments;
    } rows[] = {
        {"/usr/bin/edit %1 -r", "/usr/bin/edit", "/home/me/a b.txt -r"},
        {"/usr/bin/edit \"%1\" -r", "/usr/bin/edit", "\"/home/me/a b.txt\" -r"},
        {"\"/opt/My Editor/edit\" --new \"%1\"", "/opt/My Editor/edit", "--new \"/home/me/a b.txt\""},
        {"/usr/bin/edit %1 %1", "/usr/bin/edit", "/home/me/a b.txt %1"},
        {"/usr/bin/edit --fresh", "/usr/bin/edit", "--fresh"},   // no placeholder: unchanged
        {"/usr/bin/edit", "/usr/bin/edit", "/home/me/a b.txt"},   // no argument part
        {"\"/opt/My Editor/edit\"", "/opt/My Editor/edit", "/home/me/a b.txt"},
        {"\"\"", "\"\"", "/home/me/a b.txt"},                     // too short to lose its quotes
        {"\"/opt/unclosed edit %1", "\"/opt/unclosed edit %1", "/home/me/a b.txt"},
    };
    for (const auto& row : rows) {
        const LaunchCommand command = SplitOpenCommand(QString::fromUtf8(row.command), p);
        EXPECT_EQ(command.target, QString::fromUtf8(row.target)) << row.command;
        EXPECT_EQ(command.arguments, QString::fromUtf8(row.arguments)) << row.command;
    }
}
