#include "formats/desktop_entry.h"

#include <gtest/gtest.h>

#include "common/error.h"
#include "qstring_printer.h"

TEST(DesktopEntryFile, GroupsKeysCommentsAndEscapes) {
    const QByteArray data = "key=before any group\r\n"
                            "# a comment\n"
                            "[Desktop Entry]\r\n"
                            "Name = My Editor \n"
                            "Name[de]=Mein Editor\n"
                            "Comment=line\\none\\ttab\\sspace\\\\back \\$kept\n"
                            "Name=second value ignored\n"
                            "no equals sign\n"
                            "=no key\n"
                            "[Default Applications]\n"
                            "text/plain=a.desktop;;b.desktop;\n"
                            "[broken\n"
                            "Exec=still in Default Applications\n";
    const DesktopEntryFile file = DesktopEntryFile::parse(data);
    const QString entry = QStringLiteral("Desktop Entry");
    EXPECT_EQ(file.value(entry, QStringLiteral("Name")), QStringLiteral("My Editor"));
    EXPECT_EQ(file.value(entry, QStringLiteral("Name[de]")), QStringLiteral("Mein Editor"));
    EXPECT_EQ(file.value(entry, QStringLiteral("Comment")), QStringLiteral("line\none\ttab space\\back \\$kept"));
    EXPECT_FALSE(file.contains(entry, QStringLiteral("key")));
    EXPECT_FALSE(file.contains(entry, QStringLiteral("name"))); // keys are case-sensitive
    EXPECT_EQ(file.keys(entry), (QStringList{QStringLiteral("Name"), QStringLiteral("Name[de]"),
                                             QStringLiteral("Comment"), QStringLiteral("Name")}));
    const QString defaults = QStringLiteral("Default Applications");
    EXPECT_EQ(DesktopListValue(file.value(defaults, QStringLiteral("text/plain"))),
              (QStringList{QStringLiteral("a.desktop"), QStringLiteral("b.desktop")}));
    EXPECT_EQ(file.value(defaults, QStringLiteral("Exec")), QStringLiteral("still in Default Applications"));
}

TEST(DesktopEntryFile, RefusesOversizedInput) {
    const QByteArray big(DesktopEntryFile::MaxSize + 1, 'a');
    EXPECT_THROW(DesktopEntryFile::parse(big), Error);
    EXPECT_NO_THROW(DesktopEntryFile::parse(QByteArray(DesktopEntryFile::MaxSize, '[')));
    EXPECT_TRUE(DesktopEntryFile::parse(QByteArray("\xff\xfe[\x00]=\n", 7)).entries().isEmpty());
}

TEST(ExecToOpenCommand, FieldCodesAndQuoting) {
    const struct {
        const char* exec;
        const char* command;
    } rows[] = {
        {"gedit %U", "gedit \"%1\""},
        {"\"/opt/My App/app\" --new %f", "\"/opt/My App/app\" --new \"%1\""},
        {"app \"%f\"", "app \"%1\""},
        {"app --file=%u", "app \"--file=%1\""},
        {"app %i %c %k --x 100%%", "app --x 100%"},
        {"app %F %U", "app \"%1\""}, // one file only
        {"app", "app"},
        {"app \"two words\" \"q\\\"x\"", "app \"two words\" q\"x"},
        {"  app\t\t-v  ", "app -v"},
        {"app %", "app %"},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ExecToOpenCommand(QString::fromUtf8(row.exec)), QString::fromUtf8(row.command)) << row.exec;
}
