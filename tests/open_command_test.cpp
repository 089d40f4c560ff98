#include "tabs/open_command.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

TEST(SplitOpenCommand, QuotesSpacesAndThePlaceholder) {
    const QString p = QStringLiteral("/home/me/a b.txt");
    const struct {
        const char* command;
        const char* target;
        const char* arguments;
    } rows[] = {
        {"/usr/bin/edit %1 -r", "/usr/bin/edit", "\"/home/me/a b.txt\" -r"}, // one argument, quoted
        {"/usr/bin/edit \"%1\" -r", "/usr/bin/edit", "\"/home/me/a b.txt\" -r"},
        {"\"/opt/My Editor/edit\" --new \"%1\"", "/opt/My Editor/edit", "--new \"/home/me/a b.txt\""},
        {"/usr/bin/edit %1 %1", "/usr/bin/edit", "\"/home/me/a b.txt\" %1"},
        {"/usr/bin/edit --fresh", "/usr/bin/edit", "--fresh"},      // no placeholder: unchanged
        {"/usr/bin/edit", "/usr/bin/edit", "\"/home/me/a b.txt\""}, // no argument part
        {"\"/opt/My Editor/edit\"", "/opt/My Editor/edit", "\"/home/me/a b.txt\""},
        {"\"\"", "\"\"", "\"/home/me/a b.txt\""}, // too short to lose its quotes
        {"\"/opt/unclosed edit %1", "\"/opt/unclosed edit %1", "\"/home/me/a b.txt\""},
    };
    for (const auto& row : rows) {
        const LaunchCommand command = SplitOpenCommand(QString::fromUtf8(row.command), p);
        EXPECT_EQ(command.target, QString::fromUtf8(row.target)) << row.command;
        EXPECT_EQ(command.arguments, QString::fromUtf8(row.arguments)) << row.command;
    }
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
        {"app \"two words\" \"q\\\"x\"", "app \"two words\" \"q\"\"\"x\""},
        {"  app\t\t-v  ", "app -v"},
        {"app %", "app %"},
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(ExecToOpenCommand(QString::fromUtf8(row.exec)), QString::fromUtf8(row.command)) << row.exec;
}
