#include "tabs/open_command.h"

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
