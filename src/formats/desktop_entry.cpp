#include "formats/desktop_entry.h"

#include "common/error.h"

namespace {

QString UnescapeValue(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\\') || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const QChar next = text[++i];
        switch (next.unicode()) {
        case 's':
            out += QLatin1Char(' ');
            break;
        case 'n':
            out += QLatin1Char('\n');
            break;
        case 't':
            out += QLatin1Char('\t');
            break;
        case 'r':
            out += QLatin1Char('\r');
            break;
        case '\\':
            out += QLatin1Char('\\');
            break;
        default: // not a string escape: kept for the Exec quoting rules (\" \$ \`)
            out += c;
            out += next;
        }
    }
    return out;
}

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

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

DesktopEntryFile DesktopEntryFile::parse(QByteArrayView data) {
    if (data.size() > MaxSize)
        throw Error(QStringLiteral("The desktop entry file is too large"));
    DesktopEntryFile file;
    const QString text = QString::fromUtf8(data);
    QString group;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const qsizetype close = line.indexOf(QLatin1Char(']'));
            if (close > 0)
                group = line.mid(1, close - 1).toString();
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals <= 0 || group.isEmpty())
            continue;
        file.m_entries.append({group, line.left(equals).trimmed().toString(),
                               UnescapeValue(line.mid(equals + 1).trimmed())});
    }
    return file;
}

QString DesktopEntryFile::value(const QString& group, const QString& key) const {
    for (const Entry& entry : m_entries) {
        if (entry.group == group && entry.key == key)
            return entry.value;
    }
    return {};
}

bool DesktopEntryFile::contains(const QString& group, const QString& key) const {
    for (const Entry& entry : m_entries) {
        if (entry.group == group && entry.key == key)
            return true;
    }
    return false;
}

QStringList DesktopEntryFile::keys(const QString& group) const {
    QStringList keys;
    for (const Entry& entry : m_entries) {
        if (entry.group == group)
            keys.append(entry.key);
    }
    return keys;
}

QStringList DesktopListValue(const QString& value) {
    QStringList parts;
    for (const QString& part : value.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty())
            parts.append(trimmed);
    }
    return parts;
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
