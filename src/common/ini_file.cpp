#include "common/ini_file.h"

#include <algorithm>
#include <limits>

#include <QFileInfo>

#include "common/error.h"
#include "common/hex_digit.h"
#include "common/regular_file.h"
#include "common/replacing_file.h"
#include "common/windows1252.h"

namespace {

// Section and key names match without regard to case and to surrounding blanks.
QString NameKey(const QString& name) {
    return name.trimmed().toCaseFolded();
}

bool HasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

// The file's first MaxFileSize bytes, cut at the last line break within them. complete tells
// whether that is the whole file (a missing file is whole and empty).
QByteArray ReadCapped(const QString& path, bool* complete) {
    // One byte past the limit tells a file of exactly the limit from a larger one. Anything but a
    // regular file (a FIFO, a device) is not read, and not written over either.
    std::optional<QByteArray> read = ReadRegularFile(path, IniFile::MaxFileSize + 1);
    *complete = true;
    if (!read) {
        *complete = !QFileInfo::exists(path);
        return {};
    }
    QByteArray data = std::move(*read);
    if (data.size() > IniFile::MaxFileSize) {
        data.truncate(IniFile::MaxFileSize);
        *complete = false;
        // Keep whole lines only, so that no key is read with a value cut short.
        const qsizetype lastBreak = data.lastIndexOf('\n');
        if (lastBreak >= 0)
            data.truncate(lastBreak + 1);
    }
    return data;
}

bool ParseDecimal(QStringView digits, bool negative, qint32* value) {
    if (digits.isEmpty())
        return false;
    qint64 magnitude = 0;
    for (const QChar ch : digits) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            return false;
        magnitude = magnitude * 10 + (ch.unicode() - u'0');
        if (magnitude > qint64(1) << 31)
            return false;
    }
    const qint64 signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<qint32>::max())
        return false;
    *value = static_cast<qint32>(signedValue);
    return true;
}

bool ParseHex(QStringView digits, qint32* value) {
    if (digits.isEmpty())
        return false;
    quint64 bits = 0;
    for (const QChar ch : digits) {
        const int digit = HexDigitValue(ch.unicode());
        if (digit < 0)
            return false;
        bits = bits * 16 + quint64(digit);
        if (bits > 0xFFFFFFFFu)
            return false;
    }
    *value = static_cast<qint32>(static_cast<quint32>(bits));
    return true;
}

} // namespace

QString IniFile::Line::keyName() const {
    return text.left(separator).trimmed();
}

QString IniFile::Line::value() const {
    return text.mid(separator + 1).trimmed();
}

IniFile::IniFile(QString path) : m_path(std::move(path)) {
    parse(ReadCapped(m_path, &m_complete));
}

IniFile IniFile::fromData(QString path, QByteArrayView data) {
    IniFile file;
    file.m_path = std::move(path);
    file.parse(data.first(std::min(data.size(), MaxFileSize)));
    return file;
}

void IniFile::parse(QByteArrayView data) {
    const qsizetype firstBreak = data.indexOf('\n');
    if (firstBreak > 0 && data[firstBreak - 1] == '\r')
        m_lineBreak = QStringLiteral("\r\n");

    const QString text = DecodeUtf8OrWindows1252(data);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        qsizetype lineEnd = end;
        if (lineEnd > start && text[lineEnd - 1] == QLatin1Char('\r'))
            --lineEnd;
        QString line = text.mid(start, lineEnd - start);
        start = end + 1;

        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1Char('['))) {
            const qsizetype close = trimmed.lastIndexOf(QLatin1Char(']'));
            if (close > 0) {
                addSection(std::move(line), trimmed.mid(1, close - 1).trimmed());
                continue;
            }
        }
        addLine(std::move(line));
    }
}

void IniFile::addSection(QString header, QString name) {
    const QString key = NameKey(name);
    if (!m_sectionIndex.contains(key))
        m_sectionIndex.insert(key, m_sections.size());
    m_sections.append(Section{std::move(header), std::move(name), {}, {}});
}

void IniFile::addLine(QString text) {
    if (m_sections.isEmpty()) {
        m_preamble.append(std::move(text));
        return;
    }
    Section& section = m_sections.last();
    Line line{std::move(text), -1};
    const QString trimmed = line.text.trimmed();
    if (!trimmed.startsWith(QLatin1Char(';')) && !trimmed.startsWith(QLatin1Char('['))) {
        const qsizetype separator = line.text.indexOf(QLatin1Char('='));
        if (separator > 0 && !QStringView(line.text).left(separator).trimmed().isEmpty()) {
            line.separator = separator;
            const QString key = NameKey(line.keyName());
            if (!section.keyIndex.contains(key))
                section.keyIndex.insert(key, section.lines.size());
        }
    }
    section.lines.append(std::move(line));
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    const auto found = m_sectionIndex.constFind(NameKey(name));
    return found == m_sectionIndex.cend() ? nullptr : &m_sections[*found];
}

const IniFile::Line* IniFile::findKey(const QString& section, const QString& key) const {
    const Section* found = findSection(section);
    if (found == nullptr)
        return nullptr;
    const auto line = found->keyIndex.constFind(NameKey(key));
    return line == found->keyIndex.cend() ? nullptr : &found->lines[*line];
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    return findKey(section, key) != nullptr;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& defaultValue) const {
    const Line* line = findKey(section, key);
    return line == nullptr ? defaultValue : line->value();
}

qint32 IniFile::readInteger(const QString& section, const QString& key, qint32 defaultValue,
                            IntegerForms forms) const {
    const Line* line = findKey(section, key);
    qint32 value = 0;
    if (line == nullptr || !ParseIniInteger(line->value(), forms, &value))
        return defaultValue;
    return value;
}

QStringList IniFile::sectionNames() const {
    QStringList names;
    for (qsizetype i = 0; i < m_sections.size(); ++i) {
        if (m_sectionIndex.value(NameKey(m_sections[i].name)) == i)
            names.append(m_sections[i].name);
    }
    return names;
}

QStringList IniFile::keyNames(const QString& section) const {
    QStringList names;
    const Section* found = findSection(section);
    if (found == nullptr)
        return names;
    for (qsizetype i = 0; i < found->lines.size(); ++i) {
        const Line& line = found->lines[i];
        if (line.separator >= 0 && found->keyIndex.value(NameKey(line.keyName())) == i)
            names.append(line.keyName());
    }
    return names;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QString sectionName = section.trimmed();
    const QString keyName = key.trimmed();
    if (sectionName.isEmpty() || keyName.isEmpty() || sectionName.contains(QLatin1Char(']')) ||
        keyName.contains(QLatin1Char('=')) || keyName.startsWith(QLatin1Char(';')) ||
        keyName.startsWith(QLatin1Char('[')) || HasLineBreak(sectionName) || HasLineBreak(keyName) ||
        HasLineBreak(value)) {
        throw Error(UnableToWrite(m_path));
    }

    if (findSection(sectionName) == nullptr) {
        // A new section goes to the end of the file, after a blank line.
        const QString* last = nullptr;
        if (!m_sections.isEmpty())
            last = m_sections.last().lines.isEmpty() ? &m_sections.last().header
                                                     : &m_sections.last().lines.last().text;
        else if (!m_preamble.isEmpty())
            last = &m_preamble.last();
        if (last != nullptr && !last->trimmed().isEmpty())
            addLine(QString());
        addSection(QLatin1Char('[') + sectionName + QLatin1Char(']'), sectionName);
    }
    Section& target = m_sections[m_sectionIndex.value(NameKey(sectionName))];

    const QString folded = NameKey(keyName);
    const auto existing = target.keyIndex.constFind(folded);
    if (existing != target.keyIndex.cend()) {
        // The line is replaced in place; the key keeps the spelling it has in the file.
        Line& line = target.lines[*existing];
        const QString name = line.keyName();
        line.text = name + QLatin1Char('=') + value;
        line.separator = name.size();
        return;
    }
    // A new key goes after the last line of its section that is not blank. Only blank lines
    // follow that place, so no key's index moves.
    qsizetype at = target.lines.size();
    while (at > 0 && target.lines[at - 1].text.trimmed().isEmpty())
        --at;
    target.lines.insert(at, Line{keyName + QLatin1Char('=') + value, keyName.size()});
    target.keyIndex.insert(folded, at);
}

QByteArray IniFile::serialize() const {
    QString text;
    for (const QString& line : m_preamble)
        text += line + m_lineBreak;
    for (const Section& section : m_sections) {
        text += section.header + m_lineBreak;
        for (const Line& line : section.lines)
            text += line.text + m_lineBreak;
    }
    return text.toUtf8();
}

void IniFile::save() {
    // Saving what was only partly read would drop the rest of the file.
    if (!m_complete)
        throw Error(UnableToWrite(m_path));
    bool link = false;
    if (!ReplaceFileContents(m_path, serialize(), &link))
        throw Error(WriteFailureMessage(UnableToWrite(m_path), link));
}

bool ParseIniInteger(const QString& text, IniFile::IntegerForms forms, qint32* value) {
    const QString trimmed = text.trimmed();
    const QStringView view(trimmed);
    if (forms == IniFile::IntegerForms::DecimalOrHex) {
        if (view.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
            return ParseHex(view.mid(2), value);
        if (view.startsWith(QLatin1Char('$')))
            return ParseHex(view.mid(1), value);
    }
    if (view.startsWith(QLatin1Char('-')) || view.startsWith(QLatin1Char('+')))
        return ParseDecimal(view.mid(1), view.front() == QLatin1Char('-'), value);
    return ParseDecimal(view, false, value);
}
