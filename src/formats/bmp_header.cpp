#include "formats/bmp_header.h"

#include <cstdlib>
#include <limits>

namespace {

quint32 Le(QByteArrayView data, qsizetype offset, int bytes) {
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | quint8(data[offset + i]);
    return value;
}

} // namespace

std::optional<qint64> BmpHeader::requiredFileSize() const {
    if (compression == 1 || compression == 2)
        return std::nullopt;
    // Rows are padded to four bytes; some writers leave the last row's padding out.
    const qint64 bits = qint64(width) * bitCount;
    const qint64 paddedRow = (bits + 31) / 32 * 4;
    const qint64 lastRow = (bits + 7) / 8;
    const qint64 rows = std::abs(qint64(height)) - 1;
    const qint64 rest = qint64(pixelOffset) + lastRow;
    // A header may claim more than any file can hold; the need then saturates.
    if (rows > 0 && paddedRow > (std::numeric_limits<qint64>::max() - rest) / rows)
        return std::numeric_limits<qint64>::max();
    return rest + paddedRow * rows;
}

std::optional<BmpHeader> ReadBmpHeader(QByteArrayView data) {
    if (data.size() < 26 || data[0] != 'B' || data[1] != 'M')
        return std::nullopt;
    BmpHeader header;
    header.pixelOffset = Le(data, 10, 4);
    const quint32 infoSize = Le(data, 14, 4);
    if (infoSize == 12) {
        header.width = qint32(Le(data, 18, 2));
        header.height = qint32(Le(data, 20, 2));
        header.bitCount = quint16(Le(data, 24, 2));
    } else if (infoSize >= 40) {
        if (data.size() < BmpHeaderBytes)
            return std::nullopt;
        header.width = qint32(Le(data, 18, 4));
        header.height = qint32(Le(data, 22, 4));
        header.bitCount = quint16(Le(data, 28, 2));
        header.compression = Le(data, 30, 4);
    } else {
        return std::nullopt;
    }
    switch (header.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        break;
    default:
        return std::nullopt;
    }
    if (header.width <= 0 || header.height == 0 || header.height == std::numeric_limits<qint32>::min())
        return std::nullopt;
    return header;
}
