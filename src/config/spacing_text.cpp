#include "config/spacing_text.h"

std::optional<qint32> ParseSpacing(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text[i] == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (i < n && text[i] == QLatin1Char('$')) {
        base = 16;
        ++i;
    } else if (i + 1 < n && text[i] == QLatin1Char('0') &&
               (text[i + 1] == QLatin1Char('x') || text[i + 1] == QLatin1Char('X'))) {
        base = 16;
        i += 2;
    }
    if (i == n)
        return std::nullopt;
    qint64 value = 0;
    for (; i < n; ++i) {
        const int digit = text[i].isDigit() ? text[i].digitValue() : -1;
        int d = digit;
        if (base == 16 && d < 0) {
            const char16_t c = text[i].toLower().unicode();
            if (c >= u'a' && c <= u'f')
                d = c - u'a' + 10;
        }
        if (d < 0 || d >= base || text[i].unicode() > 0x7F)
            return std::nullopt;
        value = value * base + d;
        if (value > qint64(1) << 31)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return qint32(value);
}
