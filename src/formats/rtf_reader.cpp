#include "formats/rtf_reader.h"

#include <algorithm>
#include <vector>

#include <QHash>
#include <QTextCursor>
#include <QTextDocument>

#include "common/hex_digit.h"

namespace {

constexpr int MaxDepth = 64;
constexpr qint64 MaxParameter = 1000000000;
constexpr int DefaultFontSize = 24; // half points

// How text is set.
struct CharStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int font = 0;
    int halfPoints = DefaultFontSize;

    bool operator==(const CharStyle&) const = default;
};

// What a group sets; a group starts with a copy of the one around it.
struct GroupState {
    CharStyle style;
    int unicodeSkip = 1; // \ucN: fallback characters after each \u
    bool skip = false;   // inside a destination whose text is not shown
    bool fontTable = false;
};

// Windows-1252 bytes 0x80-0x9F; the rest of the code page is Latin-1.
constexpr char16_t Cp1252High[32] = {0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD,
                                     0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

QChar FromCp1252(int byte) {
    return byte >= 0x80 && byte < 0xA0 ? QChar(Cp1252High[byte - 0x80]) : QChar(byte);
}

class RtfParser {
public:
    RtfParser(QStringView rtf, QTextDocument& document) : m_in(rtf), m_cursor(&document) {
        document.clear();
        m_cursor = QTextCursor(&document);
    }

    void Run() {
        while (m_pos < m_in.size()) {
            const QChar c = m_in[m_pos++];
            if (c == u'{') {
                OpenGroup();
            } else if (c == u'}') {
                CloseGroup();
            } else if (c == u'\\') {
                ControlSequence();
            } else if (c != u'\r' && c != u'\n') {
                Text(c);
            }
        }
        Flush();
    }

private:
    void OpenGroup() {
        if (m_stack.size() < MaxDepth)
            m_stack.push_back(m_state);
        else
            ++m_ignoredDepth;
    }

    void CloseGroup() {
        if (m_ignoredDepth > 0) {
            --m_ignoredDepth;
        } else if (!m_stack.empty()) {
            m_state = m_stack.back();
            m_stack.pop_back();
        }
    }

    void ControlSequence() {
        if (m_pos >= m_in.size())
            return;
        const QChar c = m_in[m_pos];
        if (IsLetter(c)) {
            ControlWord();
            return;
        }
        ++m_pos;
        switch (c.unicode()) {
        case u'\\':
        case u'{':
        case u'}':
            Text(c);
            break;
        case u'\'':
            HexEscape();
            break;
        case u'*':
            m_state.skip = true;
            break;
        case u'~':
            Text(QChar(0x00A0));
            break;
        case u'_':
            Text(QChar(0x2011));
            break;
        case u'\r':
        case u'\n':
            Paragraph();
            break;
        default:
            break;
        }
    }

    void HexEscape() {
        int value = 0;
        for (int i = 0; i < 2; ++i) {
            const int digit = m_pos < m_in.size() ? HexDigitValue(m_in[m_pos].unicode()) : -1;
            if (digit < 0)
                return;
            value = value * 16 + digit;
            ++m_pos;
        }
        Text(FromCp1252(value));
    }

    void ControlWord() {
        const qsizetype start = m_pos;
        while (m_pos < m_in.size() && IsLetter(m_in[m_pos]))
            ++m_pos;
        const QStringView word = m_in.sliced(start, m_pos - start);
        bool hasParameter = false;
        bool negative = false;
        qint64 parameter = 0;
        if (m_pos < m_in.size() && m_in[m_pos] == u'-' && m_pos + 1 < m_in.size() &&
            m_in[m_pos + 1].isDigit()) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_in.size() && m_in[m_pos] >= u'0' && m_in[m_pos] <= u'9') {
            hasParameter = true;
            parameter = std::min(MaxParameter, parameter * 10 + (m_in[m_pos].unicode() - u'0'));
            ++m_pos;
        }
        if (negative)
            parameter = -parameter;
        if (m_pos < m_in.size() && m_in[m_pos] == u' ')
            ++m_pos;
        Apply(word, hasParameter, int(parameter));
    }

    void Apply(QStringView word, bool hasParameter, int parameter) {
        const bool on = !hasParameter || parameter != 0;
        if (word == u"b") {
            m_state.style.bold = on;
        } else if (word == u"i") {
            m_state.style.italic = on;
        } else if (word == u"ul") {
            m_state.style.underline = on;
        } else if (word == u"ulnone") {
            m_state.style.underline = false;
        } else if (word == u"plain") {
            m_state.style = CharStyle{};
            m_state.style.font = m_defaultFont;
        } else if (word == u"f") {
            if (m_state.fontTable)
                m_tableFont = parameter;
            else
                m_state.style.font = parameter;
        } else if (word == u"deff") {
            m_defaultFont = m_state.style.font = parameter;
        } else if (word == u"fs") {
            m_state.style.halfPoints = std::clamp(parameter, 2, 3276);
        } else if (word == u"par") {
            Paragraph();
        } else if (word == u"line") {
            Text(QChar::LineSeparator);
        } else if (word == u"tab") {
            Text(QChar(u'\t'));
        } else if (word == u"uc") {
            m_state.unicodeSkip = std::clamp(parameter, 0, 10);
        } else if (word == u"u") {
            Text(QChar(char16_t(parameter)));
            m_fallbackLeft = m_state.unicodeSkip;
            return;
        } else if (word == u"fonttbl") {
            m_state.fontTable = true;
        } else if (word == u"colortbl" || word == u"stylesheet" || word == u"info" || word == u"pict" ||
                   word == u"object" || word == u"header" || word == u"footer" || word == u"footnote") {
            m_state.skip = true;
        }
    }

    void Text(QChar c) {
        if (m_fallbackLeft > 0) {
            --m_fallbackLeft;
            return;
        }
        if (m_state.skip)
            return;
        if (m_state.fontTable) {
            if (c == u';') {
                m_fontNames.insert(m_tableFont, m_fontName.trimmed());
                m_fontName.clear();
            } else if (m_fontName.size() < 256) {
                m_fontName += c;
            }
            return;
        }
        if (!m_pending.isEmpty() && m_state.style != m_pendingStyle)
            Flush();
        m_pendingStyle = m_state.style;
        m_pending += c;
    }

    void Paragraph() {
        if (m_state.skip || m_state.fontTable)
            return;
        Flush();
        m_cursor.insertBlock();
    }

    void Flush() {
        if (m_pending.isEmpty())
            return;
        m_cursor.insertText(m_pending, Format(m_pendingStyle));
        m_pending.clear();
    }

    QTextCharFormat Format(const CharStyle& style) const {
        QTextCharFormat format;
        format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
        format.setFontItalic(style.italic);
        format.setFontUnderline(style.underline);
        format.setFontPointSize(style.halfPoints / 2.0);
        const auto name = m_fontNames.constFind(style.font);
        if (name != m_fontNames.constEnd() && !name->isEmpty())
            format.setFontFamilies(QStringList{*name});
        return format;
    }

    static bool IsLetter(QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

    QStringView m_in;
    qsizetype m_pos = 0;
    QTextCursor m_cursor;
    GroupState m_state;
    std::vector<GroupState> m_stack;
    int m_ignoredDepth = 0;
    int m_fallbackLeft = 0;
    int m_defaultFont = 0;
    int m_tableFont = 0;
    QString m_fontName;
    QHash<int, QString> m_fontNames;
    QString m_pending;
    CharStyle m_pendingStyle;
};

} // namespace

void ReadRtf(QStringView rtf, QTextDocument& document) {
    RtfParser(rtf, document).Run();
}
