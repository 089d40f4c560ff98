#include "core/command_line.h"

#include <gtest/gtest.h>

#include "qstring_printer.h"

namespace {

using Action = InstanceRequest::Action;
using Outcome = CommandLine::Outcome;

std::string S(const QString& text) {
    return text.toStdString();
}

QStringList Args(std::initializer_list<const char*> args) {
    QStringList list;
    for (const char* arg : args)
        list.append(QString::fromUtf8(arg));
    return list;
}

struct RunRow {
    std::initializer_list<const char*> args;
    Action action;
    const char* tab;
};

TEST(CommandLine, ActionsAndTheirTab) {
    const RunRow rows[] = {
        {{}, Action::Activate, ""},
        {{"--open"}, Action::Open, ""},
        {{"--open", "Games"}, Action::Open, "Games"},
        {{"Games", "--open"}, Action::Open, "Games"},
        {{"--open", "--", "--odd tab"}, Action::Open, "--odd tab"},
        {{"--open", "Spiele & Sachen"}, Action::Open, "Spiele & Sachen"},
        {{"--config"}, Action::Settings, ""},
        {{"--add-applications"}, Action::AddApplications, ""},
        {{"--add-applications", "Apps"}, Action::AddApplications, "Apps"},
        {{"--refresh"}, Action::Refresh, ""},
        {{"--quit"}, Action::Quit, ""},
        // A tab is only read for the two actions that take one; other words are left to the
        // refusal switch, which looks at every argument.
        {{"--config", "Games"}, Action::Settings, ""},
        {{"nont"}, Action::Activate, ""},
        {{"/NONT"}, Action::Activate, ""},
        // Qt's own options pass, with their values, in both spellings.
        {{"-platform", "offscreen", "--open", "A"}, Action::Open, "A"},
        {{"--display=:3", "-reverse"}, Action::Activate, ""},
    };
    for (const RunRow& row : rows) {
        const QStringList args = Args(row.args);
        const CommandLine parsed = ParseCommandLine(args);
        EXPECT_EQ(parsed.outcome, Outcome::Run) << S(args.join(u' ')) << ": " << S(parsed.text);
        EXPECT_EQ(parsed.request.action, row.action) << S(args.join(u' '));
        EXPECT_EQ(parsed.request.tab, QString::fromUtf8(row.tab)) << S(args.join(u' '));
    }
}

TEST(CommandLine, HelpAndVersionEndTheStart) {
    for (const char* option : {"--help", "-h", "-help"}) {
        const CommandLine parsed = ParseCommandLine(Args({option}));
        EXPECT_EQ(parsed.outcome, Outcome::Help) << option;
        for (const char* named :
             {"--open [TAB]", "--config", "--add-applications [TAB]", "--refresh", "--quit", "--version"})
            EXPECT_TRUE(parsed.text.contains(QString::fromLatin1(named))) << named << "\n" << S(parsed.text);
        // Qt's options are accepted but not offered.
        EXPECT_FALSE(parsed.text.contains(QStringLiteral("platform")));
    }
    // --help wins over an action given with it: nothing is started.
    EXPECT_EQ(ParseCommandLine(Args({"--quit", "--help"})).outcome, Outcome::Help);
    const CommandLine version = ParseCommandLine(Args({"--version"}));
    EXPECT_EQ(version.outcome, Outcome::Version);
    EXPECT_EQ(version.text, QStringLiteral("Kelvara 2.0\n"));
}

TEST(CommandLine, WrongOptionsGetOneLine) {
    const std::initializer_list<const char*> rows[] = {
        {"--frobnicate"},          {"-x"},        {"--open=Games"}, {"--quit", "--open"},
        {"--config", "--refresh"}, {"-platform"},
    };
    for (const auto& row : rows) {
        const QStringList args = Args(row);
        const CommandLine parsed = ParseCommandLine(args);
        EXPECT_EQ(parsed.outcome, Outcome::Error) << S(args.join(u' '));
        EXPECT_FALSE(parsed.text.contains(u'\n')) << S(parsed.text);
        EXPECT_TRUE(parsed.text.startsWith(QStringLiteral("kelvara: "))) << S(parsed.text);
        EXPECT_TRUE(parsed.text.contains(QStringLiteral("--help"))) << S(parsed.text);
    }
    EXPECT_TRUE(ParseCommandLine(Args({"--frobnicate"})).text.contains(QStringLiteral("frobnicate")));
    EXPECT_TRUE(ParseCommandLine(Args({"--quit", "--open"})).text.contains(QStringLiteral("--open, --quit")));
}

} // namespace
