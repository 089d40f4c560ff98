#include "common/text_decoding.h"

#include <QStringDecoder>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F. The five codes it leaves undefined
// keep their Latin-1 meaning, so every byte decodes to some character.
constexpr char16_t HighControlRange[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                           0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                           0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                           0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString DecodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = QChar(code >= 0x80 && code < 0xA0 ? HighControlRange[code - 0x80] : char16_t(code));
    }
    return text;
}

} // namespace

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
