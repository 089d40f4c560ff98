#include "common/names.h"

#include "common/error.h"
#include "common/hex_digit.h"

namespace {

bool NeedsEscape(char16_t c) {
    return QStringView(u"\\/:*?\"<>|%\r\n").contains(QChar(c));
}

} // namespace

QString EscapeName(const QString& text) {
    static const char16_t digits[] = u"0123456789ABCDEF";
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (NeedsEscape(c)) {
            out += QLatin1Char('%');
            out += QChar(digits[c >> 4]);
            out += QChar(digits[c & 0xF]);
        } else {
            out += ch;
        }
    }
    return out;
}

QString UnescapeName(const QString& text) {
    QString out;
    out.reserve(text.size());
    int pending = 0;
    QChar buffer[2];
    for (const QChar ch : text) {
        if (pending == 0) {
            if (ch == QLatin1Char('%'))
                pending = 2;
            else
                out += ch;
            continue;
        }
        buffer[2 - pending] = ch;
        if (--pending > 0)
            continue;
        const int high = HexDigitValue(buffer[0].unicode());
        const int low = HexDigitValue(buffer[1].unicode());
        if (high < 0 || low < 0) {
            throw Error(UserText("Value.NotInteger", "'%1' is not a valid integer value")
                            .arg(QStringLiteral("$%1%2").arg(buffer[0], buffer[1])));
        }
        out += QChar(char16_t(high * 16 + low));
    }
    return out;
}

QString FoldCase(const QString& text) {
    QString out = text;
    for (QChar& ch : out) {
        const char16_t c = ch.unicode();
        if (c >= u'A' && c <= u'Z')
            ch = QChar(char16_t(c + (u'a' - u'A')));
    }
    return out;
}

bool SameName(const QString& a, const QString& b) {
    if (a.size() != b.size())
        return false;
    return FoldCase(a) == FoldCase(b);
}
