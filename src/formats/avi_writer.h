#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// How WriteAvi stores the frames.
struct AviWriteOptions {
    int bitCount = 24;     // 8, 16 (RGB555), 24 or 32
    bool rle8 = false;     // with bitCount 8: run-length code the frames
    bool topDown = false;  // store rows top first (a negative height); not with rle8
    bool recLists = false; // wrap each frame chunk in a "rec " list
    qint64 framePeriodUs = 100000;
    // For 8 bits per pixel: the colour table. When empty it is made of the frames' own colours,
    // in the order they first appear (at most 256).
    QList<QRgb> palette;
};

// Writes frames of one size as a RIFF "AVI " file with a single video stream and an index.
// Raises Error when the frames differ in size, or when an 8-bit clip has a colour outside its
// colour table or more than 256 colours.
QByteArray WriteAvi(const QList<QImage>& frames, const AviWriteOptions& options = {});
