// Decoding cost of a splash-sized clip, and of the window shape built for every frame shown.
//
//   avi_reader_bench

#include <cstdio>

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include "common/opaque_region.h"
#include "formats/avi_reader.h"
#include "formats/avi_writer.h"

namespace {

QList<QImage> Frames(QSize size, int count) {
    QList<QImage> frames;
    for (int i = 0; i < count; ++i) {
        QImage frame(size, QImage::Format_RGB32);
        frame.fill(qRgb(0, 255, 0));
        QPainter painter(&frame);
        for (int dot = 0; dot < 12; ++dot)
            painter.fillRect(10 + ((dot + i) % 12) * 10, 40 + dot % 3 * 10, 8, 8,
                             QColor(20, 60 + dot * 10, 200));
        frames.append(frame);
    }
    return frames;
}

void Measure(const char* name, const QByteArray& file, int rounds) {
    QElapsedTimer clock;
    clock.start();
    qsizetype frames = 0;
    for (int i = 0; i < rounds; ++i)
        frames += ReadAvi(file).frames.size();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    std::printf("%-28s %7lld bytes  %8.3f ms per clip  %7.1f us per frame\n", name, qlonglong(file.size()),
                ms / rounds, ms * 1000 / double(frames));
}

} // namespace

int main() {
    const QList<QImage> frames = Frames({142, 107}, 24);
    AviWriteOptions rle;
    rle.bitCount = 8;
    rle.rle8 = true;
    Measure("142x107 x 24 frames, RLE8", WriteAvi(frames, rle), 200);
    Measure("142x107 x 24 frames, 24 bpp", WriteAvi(frames), 200);

    QElapsedTimer clock;
    clock.start();
    const int rounds = 200;
    qsizetype rects = 0;
    for (int i = 0; i < rounds; ++i) {
        for (const QImage& frame : frames)
            rects += OpaqueRegion(frame, qRgb(0, 255, 0)).rectCount();
    }
    std::printf("%-28s %8.1f us per frame (%lld rectangles)\n", "window shape, 142x107",
                double(clock.nsecsElapsed()) / 1e3 / (rounds * frames.size()), qlonglong(rects / rounds));
    return 0;
}
