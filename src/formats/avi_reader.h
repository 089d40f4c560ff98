#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QList>
#include <QSize>

// A video clip as the splash plays it: every frame decoded, with the time each one stays up.
struct AviClip {
    QSize frameSize;
    qint64 framePeriodUs = 0; // microseconds per frame, always at least 1
    QList<QImage> frames;     // Format_RGB32, frameSize each, at least one
};

// Hard limits that keep a hostile file from making the reader allocate much.
struct AviLimits {
    int maxSide = 4096;
    int maxFrames = 10000;
    qint64 maxDecodedBytes = qint64(128) << 20;
};

// Reads a RIFF "AVI " file held in memory: the first video stream's frames, uncompressed at 8,
// 16 (RGB555), 24 or 32 bits per pixel, or RLE8. Raises Error with a short description when the
// data is not such a clip, is cut short, or goes past a limit.
AviClip ReadAvi(QByteArrayView data, const AviLimits& limits = {});
