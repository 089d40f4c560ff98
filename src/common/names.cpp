#include "common/names.h"

#include "common/error.h"

namespace {

bool NeedsEscape(char16_t c) {
    switch (c) {
    case u'\\': case u'/': case u':': case u'*': case u'?': case u'"':
    case u'<': case u'>': case u'|': case u'%': case u'\r': case u'\n':
        return true;
    default:
        return false;
    }
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return -1;
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
        const int high = HexDigit(buffer[0].unicode());
        const int low = HexDigit(buffer[1].unicode());
        if (high < 0 || low < 0) {
            throw Error(QStringLiteral("'$%1%2' is not a valid integer value").arg(buffer[0], buffer[1]));
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
