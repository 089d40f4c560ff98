#include "formats/key_file.h"

#include "common/error.h"

KeyFile KeyFile::parse(QByteArrayView data) {
    if (data.size() > MaxSize)
        throw Error(UserText("Entry.TooLarge", "The desktop entry file is too large"));
    KeyFile file;
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
                               UnescapeKeyFileValue(line.mid(equals + 1).trimmed())});
    }
    return file;
}

QString KeyFile::value(const QString& group, const QString& key) const {
    for (const Entry& entry : m_entries) {
        if (entry.group == group && entry.key == key)
            return entry.value;
    }
    return {};
}

bool KeyFile::contains(const QString& group, const QString& key) const {
    for (const Entry& entry : m_entries) {
        if (entry.group == group && entry.key == key)
            return true;
    }
    return false;
}

QStringList KeyFile::keys(const QString& group) const {
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

QString UnescapeKeyFileValue(QStringView text) {
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
