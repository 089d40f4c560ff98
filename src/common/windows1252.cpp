#include "common/windows1252.h"

#include <QStringDecoder>

namespace {

// The characters of 0x80..0x9F; 0 marks the five codes that are not assigned (they map to the
// C1 control character of the same code, as Windows does).
constexpr char16_t kHighControls[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t CharOf(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0 && kHighControls[byte - 0x80] != 0)
        return kHighControls[byte - 0x80];
    return byte;
}

} // namespace

QString DecodeWindows1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* data = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        data[i] = QChar(CharOf(static_cast<unsigned char>(bytes[i])));
    return out;
}

QByteArray EncodeWindows1252(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += char(c);
            continue;
        }
        char byte = '?';
        for (int i = 0; i < 32; ++i) {
            if (kHighControls[i] == c || (kHighControls[i] == 0 && c == 0x80 + i)) {
                byte = char(0x80 + i);
                break;
            }
        }
        out += byte;
    }
    return out;
}

QString DecodeUtf8OrWindows1252(QByteArrayView bytes) {
    // Stateless, so that a sequence cut short at the end counts as an error too.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) {
        // The decoder drops one byte-order mark; drop any repeated one too, as a rewrite in
        // UTF-8 would turn it into a leading mark of its own.
        qsizetype marks = 0;
        while (marks < text.size() && text[marks] == QChar::ByteOrderMark)
            ++marks;
        return text.mid(marks);
    }
    return DecodeWindows1252(bytes);
}
