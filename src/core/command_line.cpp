#include "core/command_line.h"

#include <QCommandLineParser>

#include "platform/user_prompts.h"

namespace {

struct ActionOption {
    const char* name;
    InstanceRequest::Action action;
    const char* description;
};

constexpr ActionOption ActionOptions[] = {
    {"open", InstanceRequest::Action::Open,
     "Open the tab named TAB (or the tab opened last) with the keyboard focus in it, or give the "
     "focus back to it when it is open, as the shortcut key does."},
    {"config", InstanceRequest::Action::Settings, "Show the settings dialog."},
    {"add-applications", InstanceRequest::Action::AddApplications,
     "Choose installed applications to add to the tab named TAB (or the tab opened last)."},
    {"refresh", InstanceRequest::Action::Refresh, "Read the tabs again from disk."},
    {"quit", InstanceRequest::Action::Quit, "End the running Kelvara."},
};

// Options the application object reads itself; they are accepted here and left in place.
constexpr const char* QtValueOptions[] = {"platform",      "platformpluginpath",
                                          "platformtheme", "plugin",
                                          "display",       "geometry",
                                          "style",         "stylesheet",
                                          "session",       "qwindowgeometry",
                                          "qwindowtitle",  "qwindowicon",
                                          "name",          "title",
                                          "qmljsdebugger"};
constexpr const char* QtFlagOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

// text broken into lines of at most width characters, each but the first indented by indent.
QString Wrapped(const QString& text, int indent, int width) {
    QString out;
    int column = indent;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (column > indent && column + 1 + word.size() > width) {
            out += QLatin1Char('\n') + QString(indent, QLatin1Char(' '));
            column = indent;
        } else if (column > indent) {
            out += QLatin1Char(' ');
            ++column;
        }
        out += word;
        column += int(word.size());
    }
    return out;
}

// The help is English, as are the parser's own messages: it is given before the program folder
// and the settings file, which name the translation the user chose, are read, and its columns
// count characters, which wide (CJK) characters would break.
QString HelpText(const QList<QCommandLineOption>& shown) {
    constexpr int Indent = 28;
    QString text =
        QStringLiteral("Usage: kelvara [OPTION] [TAB]\n"
                       "A row of skinned tabs on a screen edge; each tab is a folder of shortcuts.\n"
                       "One Kelvara runs per data folder: a later start hands its request to it\n"
                       "and ends.\n\nOptions:\n");
    for (const QCommandLineOption& option : shown) {
        QString names = QStringLiteral("  --") + option.names().constFirst();
        if (!option.valueName().isEmpty())
            names += QLatin1Char(' ') + option.valueName();
        text += names.leftJustified(Indent - 1) + QLatin1Char(' ') +
                Wrapped(option.description(), Indent, 79) + QLatin1Char('\n');
    }
    text += QStringLiteral("\nSee kelvara(1) for the files and the environment it uses.\n");
    return text;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    QList<QCommandLineOption> shown;
    const QCommandLineOption help(QStringList{QStringLiteral("help"), QStringLiteral("h")},
                                  QStringLiteral("Show this help and end."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Show the version and end."));
    QList<QCommandLineOption> actions;
    for (const ActionOption& entry : ActionOptions) {
        QCommandLineOption option(QString::fromLatin1(entry.name), QString::fromLatin1(entry.description));
        actions.append(option);
    }
    shown << help << version << actions;
    parser.addOptions(shown);
    for (const char* name : QtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : QtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString());
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    CommandLine result;
    // QCommandLineParser expects the program's name first.
    if (!parser.parse(QStringList{QStringLiteral("kelvara")} + arguments)) {
        result.outcome = CommandLine::Outcome::Error;
        result.text =
            QStringLiteral("kelvara: ") + parser.errorText() + QStringLiteral(" (see kelvara --help)");
        return result;
    }
    if (parser.isSet(help)) {
        result.outcome = CommandLine::Outcome::Help;
        // The names of the options with a tab carry it in the help.
        shown[2].setValueName(QStringLiteral("[TAB]"));
        shown[4].setValueName(QStringLiteral("[TAB]"));
        result.text = HelpText(shown);
        return result;
    }
    if (parser.isSet(version)) {
        result.outcome = CommandLine::Outcome::Version;
        result.text = ApplicationCaption() + QLatin1Char('\n');
        return result;
    }
    QStringList given;
    for (qsizetype i = 0; i < actions.size(); ++i) {
        if (parser.isSet(actions[i])) {
            given.append(QStringLiteral("--") + actions[i].names().constFirst());
            result.request.action = ActionOptions[i].action;
        }
    }
    if (given.size() > 1) {
        result.outcome = CommandLine::Outcome::Error;
        result.text = QStringLiteral("kelvara: %1 cannot be given together; see kelvara --help")
                          .arg(given.join(QStringLiteral(", ")));
        return result;
    }
    const QStringList positional = parser.positionalArguments();
    if ((result.request.action == InstanceRequest::Action::Open ||
         result.request.action == InstanceRequest::Action::AddApplications) &&
        !positional.isEmpty())
        result.request.tab = positional.constFirst();
    return result;
}
