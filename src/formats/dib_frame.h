#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QList>

// The picture format of a clip's frames, as its BITMAPINFOHEADER gives it.
struct DibFormat {
    static constexpr quint32 Rgb = 0;  // BI_RGB: uncompressed rows
    static constexpr quint32 Rle8 = 1; // BI_RLE8: run-length coded 8-bit indices

    int width = 0;
    int height = 0;       // always positive
    bool topDown = false; // a negative height in the header: the first row is the top one
    int bitCount = 0;     // 8, 16, 24 or 32
    quint32 compression = Rgb;
    QList<QRgb> colourTable; // for 8 bits per pixel; indices past its end are black
};

// Reads a BITMAPINFOHEADER with its colour table. Raises Error for a header that is cut short,
// a size or depth it does not support, or a frame larger than maxSide on either axis.
DibFormat ReadDibFormat(QByteArrayView data, int maxSide);

// Decodes one frame into a Format_RGB32 image of the format's size. RLE8 frames start from
// `previous` (the frame before, or a null image for the first) because their runs and skips
// only change part of the picture. Raises Error for frame data that is too short or that runs
// past a row or the end of the picture.
QImage DecodeDibFrame(const DibFormat& format, QByteArrayView data, const QImage& previous);
