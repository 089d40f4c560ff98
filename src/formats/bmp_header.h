#pragma once

#include <optional>

#include <QByteArrayView>
#include <QtGlobal>

// What a Windows bitmap file's headers say about its picture, read before any pixel is decoded.
struct BmpHeader {
    qint32 width = 0;
    qint32 height = 0; // as stored: negative for top-down pictures
    quint16 bitCount = 0;
    quint32 compression = 0; // 0 uncompressed, 1 and 2 run-length, 3 and 6 bit fields
    quint32 pixelOffset = 0; // where the pixel rows begin

    // The file size the pixel rows need when they are stored uncompressed (the last row's padding
    // may be missing); nothing for run-length pictures, whose size the header does not fix.
    std::optional<qint64> requiredFileSize() const;
};

// Reads the file header and the info header (the 12-byte core form or the 40-byte and longer
// forms) from the start of a file. Nothing when the data is too short, the magic "BM" is missing,
// or the size fields are impossible (width or height 0, a bit count other than 1, 4, 8, 16, 24
// or 32).
std::optional<BmpHeader> ReadBmpHeader(QByteArrayView data);

// The bytes ReadBmpHeader needs at most.
inline constexpr qsizetype BmpHeaderBytes = 34;
