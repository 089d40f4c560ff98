#include "tabs/open_command.h"

#include <algorithm>

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

// Whether position end of text lies inside double quotes, as QProcess::splitCommand reads them:
// one quote toggles, two in a row toggle twice, three in a row are a literal quote.
bool InsideQuotes(const QString& text, qsizetype end) {
    bool inside = false;
    int run = 0;
    for (qsizetype i = 0; i < end; ++i) {
        if (text[i] == QLatin1Char('"')) {
            if (++run == 3)
                run = 0;
            continue;
        }
        if (run == 1)
            inside = !inside;
        run = 0;
    }
    return run == 1 ? !inside : inside;
}

QString TripleQuotes(QString text) {
    return text.replace(QLatin1Char('"'), QLatin1String("\"\"\""));
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

QString QuoteArgument(const QString& text) {
    const bool plain = !text.isEmpty() && std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c.isSpace() || c == QLatin1Char('"');
    });
    return plain ? text : QLatin1Char('"') + TripleQuotes(text) + QLatin1Char('"');
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
            if (placeholder >= 0) {
                const QString inserted = InsideQuotes(arguments, placeholder)
                                             ? TripleQuotes(path)
                                             : QLatin1Char('"') + TripleQuotes(path) + QLatin1Char('"');
                arguments.replace(placeholder, 2, inserted);
            }
            return {RemoveQuotes(command.left(i)), arguments};
        }
    }
    return {RemoveQuotes(command), QuoteArgument(path)};
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
        parts.append(holdsFile ? QLatin1Char('"') + TripleQuotes(text) + QLatin1Char('"')
                               : QuoteArgument(text));
    }
    return parts.join(QLatin1Char(' '));
}
