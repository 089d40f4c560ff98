#include "tabs/open_command.h"

#include <QList>

namespace {

bool IsBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// One argument of an Exec line as it was written, and whether it stood in double quotes.
struct ExecArgument {
    QString text;
    bool quoted = false;
};

QList<ExecArgument> SplitExec(const QString& exec) {
    QList<ExecArgument> arguments;
    qsizetype i = 0;
    while (i < exec.size()) {
        while (i < exec.size() && IsBlank(exec[i]))
            ++i;
        if (i == exec.size())
            break;
        ExecArgument argument;
        bool inQuotes = false;
        while (i < exec.size() && (inQuotes || !IsBlank(exec[i]))) {
            const QChar c = exec[i++];
            if (c == QLatin1Char('"')) {
                inQuotes = !inQuotes;
                argument.quoted = true;
            } else if (c == QLatin1Char('\\') && inQuotes && i < exec.size()) {
                argument.text += exec[i++]; // \" \` \$ \\ inside quotes
            } else {
                argument.text += c;
            }
        }
        arguments.append(argument);
    }
    return arguments;
}

// Field codes that stand for the file (or files, or URLs) handed to the application.
bool IsFileCode(QChar code) {
    return code == QLatin1Char('f') || code == QLatin1Char('F') || code == QLatin1Char('u') ||
           code == QLatin1Char('U');
}

} // namespace

QString RemoveQuotes(const QString& text) {
    if (text.size() > 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
        return text.mid(1, text.size() - 2);
    return text;
}

LaunchCommand SplitOpenCommand(const QString& command, const QString& path) {
    bool quoted = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command.at(i);
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
        } else if (c == QLatin1Char(' ') && !quoted) {
            QString arguments = command.mid(i + 1);
            const qsizetype placeholder = arguments.indexOf(QLatin1String("%1"));
            if (placeholder >= 0)
                arguments.replace(placeholder, 2, path);
            return {RemoveQuotes(command.left(i)), arguments};
        }
    }
    return {RemoveQuotes(command), path};
}

QString ExecToOpenCommand(const QString& exec) {
    QStringList parts;
    bool fileUsed = false;
    for (const ExecArgument& argument : SplitExec(exec)) {
        QString text;
        bool holdsFile = false;
        bool onlyCodes = true; // the argument held nothing but field codes
        for (qsizetype i = 0; i < argument.text.size(); ++i) {
            const QChar c = argument.text[i];
            if (c != QLatin1Char('%') || i + 1 == argument.text.size()) {
                text += c;
                onlyCodes = false;
                continue;
            }
            const QChar code = argument.text[++i];
            if (code == QLatin1Char('%')) {
                text += code;
                onlyCodes = false;
            } else if (IsFileCode(code) && !fileUsed) {
                text += QLatin1String("%1");
                holdsFile = fileUsed = true;
            }
            // other field codes (%i %c %k %d %n ...) and a second file code are dropped
        }
        if (text.isEmpty() && onlyCodes && !argument.quoted)
            continue;
        const bool needsQuotes = holdsFile || text.isEmpty() || text.contains(QLatin1Char(' ')) ||
                                 text.contains(QLatin1Char('\t'));
        parts.append(needsQuotes ? QLatin1Char('"') + text + QLatin1Char('"') : text);
    }
    return parts.join(QLatin1Char(' '));
}
