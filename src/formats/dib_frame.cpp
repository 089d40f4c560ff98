#include "formats/dib_frame.h"

#include "common/error.h"
#include "formats/chunk_reader.h"

namespace {

constexpr quint32 BitmapInfoHeaderSize = 40;

[[noreturn]] void Fail(const char* what) {
    throw Error(QStringLiteral("Bad AVI frame format: ") + QLatin1StringView(what));
}

QRgb Expand555(quint16 v) {
    const auto five = [](int c) { return (c << 3) | (c >> 2); };
    return qRgb(five((v >> 10) & 31), five((v >> 5) & 31), five(v & 31));
}

QRgb TableColour(const DibFormat& format, quint8 index) {
    return index < format.colourTable.size() ? format.colourTable[index] : qRgb(0, 0, 0);
}

// The image row that holds bitmap row y (bitmap rows count from the first one stored).
QRgb* ImageRow(QImage& image, const DibFormat& format, int y) {
    return reinterpret_cast<QRgb*>(image.scanLine(format.topDown ? y : format.height - 1 - y));
}

QImage DecodeRgb(const DibFormat& format, QByteArrayView data) {
    const qint64 stride = (qint64(format.width) * format.bitCount + 31) / 32 * 4;
    if (data.size() < stride * format.height)
        throw Error(QStringLiteral("AVI frame data is too short"));
    QImage image(format.width, format.height, QImage::Format_RGB32);
    for (int y = 0; y < format.height; ++y) {
        const auto* src = reinterpret_cast<const quint8*>(data.data()) + stride * y;
        QRgb* dst = ImageRow(image, format, y);
        for (int x = 0; x < format.width; ++x) {
            switch (format.bitCount) {
            case 8:
                dst[x] = TableColour(format, src[x]);
                break;
            case 16:
                dst[x] = Expand555(quint16(src[2 * x] | src[2 * x + 1] << 8));
                break;
            case 24:
                dst[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
                break;
            default:
                dst[x] = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
                break;
            }
        }
    }
    return image;
}

QImage DecodeRle8(const DibFormat& format, QByteArrayView data, const QImage& previous) {
    QImage image;
    if (previous.size() == QSize(format.width, format.height)) {
        image = previous.copy();
    } else {
        image = QImage(format.width, format.height, QImage::Format_RGB32);
        image.fill(TableColour(format, 0));
    }
    ChunkReader in(data);
    int x = 0;
    int y = 0;
    const auto put = [&](quint8 index, int count) {
        if (y >= format.height)
            throw Error(QStringLiteral("AVI frame: RLE data past the end of the picture"));
        if (count > format.width - x)
            throw Error(QStringLiteral("AVI frame: RLE run past the end of a row"));
        QRgb* row = ImageRow(image, format, y);
        std::fill(row + x, row + x + count, TableColour(format, index));
        x += count;
    };
    while (in.remaining() >= 2) {
        const quint8 count = in.u8();
        const quint8 value = in.u8();
        if (count > 0) {
            put(value, count);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // delta: move right and up without drawing
            const int dx = in.u8();
            const int dy = in.u8();
            if (!in.ok())
                throw Error(QStringLiteral("AVI frame: RLE delta cut short"));
            x += dx;
            y += dy;
            if (x > format.width || y > format.height)
                throw Error(QStringLiteral("AVI frame: RLE delta past the end of the picture"));
        } else { // absolute run of `value` indices, padded to a 16-bit boundary
            const QByteArrayView run = in.bytes(value);
            if (!in.ok())
                throw Error(QStringLiteral("AVI frame: RLE run cut short"));
            for (char index : run)
                put(quint8(index), 1);
            if (value % 2 != 0)
                in.skip(1);
        }
    }
    return image;
}

} // namespace

DibFormat ReadDibFormat(QByteArrayView data, int maxSide) {
    ChunkReader in(data);
    const quint32 headerSize = in.u32();
    const qint32 width = in.i32();
    const qint32 height = in.i32();
    in.u16(); // planes
    const quint16 bitCount = in.u16();
    const quint32 compression = in.u32();
    in.skip(12); // image size, resolution
    const quint32 coloursUsed = in.u32();
    in.u32(); // important colours
    if (!in.ok() || headerSize < BitmapInfoHeaderSize)
        Fail("the bitmap header is cut short");
    if (headerSize > quint32(data.size()))
        Fail("the bitmap header is longer than its chunk");
    if (width <= 0 || height == 0 || height == std::numeric_limits<qint32>::min())
        Fail("the frame is empty");
    if (width > maxSide || qAbs(height) > maxSide)
        Fail("the frame is too large");

    DibFormat format;
    format.width = width;
    format.height = qAbs(height);
    format.topDown = height < 0;
    format.bitCount = bitCount;
    format.compression = compression;
    if (compression == DibFormat::Rgb) {
        if (bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
            Fail("the bit count is not supported");
    } else if (compression == DibFormat::Rle8) {
        if (bitCount != 8)
            Fail("RLE8 needs 8 bits per pixel");
        if (format.topDown)
            Fail("an RLE8 frame cannot be top-down");
    } else {
        Fail("the compression is not supported");
    }

    if (bitCount == 8) {
        const quint32 wanted = coloursUsed == 0 ? 256 : qMin<quint32>(coloursUsed, 256);
        ChunkReader table(data.sliced(headerSize));
        for (quint32 i = 0; i < wanted && table.remaining() >= 4; ++i) {
            const quint8 blue = table.u8();
            const quint8 green = table.u8();
            const quint8 red = table.u8();
            table.u8();
            format.colourTable.append(qRgb(red, green, blue));
        }
    }
    return format;
}

QImage DecodeDibFrame(const DibFormat& format, QByteArrayView data, const QImage& previous) {
    if (format.compression == DibFormat::Rle8)
        return DecodeRle8(format, data, previous);
    return DecodeRgb(format, data);
}
