// Writes the splash clip Loading.avi: a ring of glossy blue dots on the lime key colour, whose
// bright head goes round once per loop. Every edge is hard, because lime pixels become
// see-through and a blended edge pixel would show as a green fringe.
//
//   make_loading_avi OUT.avi [--strip OUT.png]
//
// --strip also writes every frame side by side into one picture, to look at the clip.

#include <cmath>
#include <cstdio>
#include <numbers>

#include <QFile>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include "common/error.h"
#include "formats/avi_writer.h"

namespace {

constexpr QSize FrameSize(96, 64);
constexpr int DotCount = 16;
constexpr int FrameCount = 16;
constexpr int RingRadius = 24;
constexpr qint64 FramePeriodUs = 62500; // one turn a second
const QRgb Lime = qRgb(0, 255, 0);

// Blends two colours; t = 0 gives a, t = 1 gives b.
QColor Mix(QColor a, QColor b, double t) {
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

// One dot, `age` steps behind the head (0 = head): older dots are smaller and paler.
void DrawDot(QPainter& painter, QPointF centre, int age) {
    const double fade = double(age) / DotCount;
    const double radius = 4.6 - 2.4 * fade;
    const QColor top = Mix(QColor(150, 205, 255), QColor(200, 214, 228), fade);
    const QColor bottom = Mix(QColor(10, 70, 200), QColor(120, 140, 170), fade);
    QLinearGradient gradient(centre.x(), centre.y() - radius, centre.x(), centre.y() + radius);
    gradient.setColorAt(0, top);
    gradient.setColorAt(0.55, bottom);
    gradient.setColorAt(1, Mix(bottom, top, 0.35));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawEllipse(centre, radius, radius);
    // The gloss: a white highlight across the upper half.
    painter.setBrush(Mix(top, Qt::white, 0.7));
    painter.drawEllipse(QPointF(centre.x(), centre.y() - radius * 0.45), radius * 0.55, radius * 0.3);
}

// Rounds every channel to a multiple of 16 so that the clip fits an 8-bit colour table, keeping
// the key colour exact.
void Quantize(QImage& image) {
    const auto level = [](int c) { return qMin(255, (c + 8) / 16 * 16); };
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] == Lime)
                continue;
            QRgb p = qRgb(level(qRed(row[x])), level(qGreen(row[x])), level(qBlue(row[x])));
            row[x] = p == Lime ? qRgb(0, 240, 0) : p;
        }
    }
}

QImage Frame(int index) {
    QImage image(FrameSize, QImage::Format_RGB32);
    image.fill(Lime);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QPointF centre(FrameSize.width() / 2.0, FrameSize.height() / 2.0);
    // Draw from the oldest dot to the head so that the head lies on top.
    for (int age = DotCount - 1; age >= 0; --age) {
        const int slot = (index - age + DotCount) % DotCount;
        const double angle = 2 * std::numbers::pi * slot / DotCount - std::numbers::pi / 2;
        DrawDot(painter, centre + QPointF(std::cos(angle), std::sin(angle)) * RingRadius, age);
    }
    painter.end();
    Quantize(image);
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && QByteArrayView(argv[2]) == "--strip")) {
        std::fprintf(stderr, "usage: make_loading_avi OUT.avi [--strip OUT.png]\n");
        return 2;
    }
    QList<QImage> frames;
    for (int i = 0; i < FrameCount; ++i)
        frames.append(Frame(i));
    try {
        AviWriteOptions options;
        options.bitCount = 8;
        options.rle8 = true;
        options.framePeriodUs = FramePeriodUs;
        QFile out(QString::fromLocal8Bit(argv[1]));
        if (!out.open(QIODevice::WriteOnly) || out.write(WriteAvi(frames, options)) < 0 || !out.flush()) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    } catch (const Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    if (argc == 4) {
        QImage strip(FrameSize.width() * FrameCount, FrameSize.height(), QImage::Format_RGB32);
        QPainter painter(&strip);
        for (int i = 0; i < FrameCount; ++i)
            painter.drawImage(i * FrameSize.width(), 0, frames[i]);
        painter.end();
        if (!strip.save(QString::fromLocal8Bit(argv[3]))) {
            std::fprintf(stderr, "cannot write %s\n", argv[3]);
            return 1;
        }
    }
    return 0;
}
