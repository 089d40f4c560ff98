#include "config/about_background.h"

#include <cstdlib>
#include <cstring>

#include "config/about_wave.h"

namespace {

constexpr int StripWidth = 340;

int Mix(int from, int to, int step, int steps) {
    return from + (to - from) * step / steps;
}

} // namespace

QImage AboutBackground::Strip() {
    // Two runs of equal length: deep blue to cyan, then cyan to white.
    const QRgb blue = qRgb(0, 40, 160);
    const QRgb cyan = qRgb(0, 200, 255);
    const QRgb white = qRgb(255, 255, 255);
    QImage strip(StripWidth, 1, QImage::Format_RGB32);
    constexpr int half = StripWidth / 2;
    for (int x = 0; x < StripWidth; ++x) {
        const QRgb from = x < half ? blue : cyan;
        const QRgb to = x < half ? cyan : white;
        const int step = x < half ? x : x - half;
        strip.setPixel(x, 0,
                       qRgb(Mix(qRed(from), qRed(to), step, half - 1),
                            Mix(qGreen(from), qGreen(to), step, half - 1),
                            Mix(qBlue(from), qBlue(to), step, half - 1)));
    }
    return strip;
}

AboutBackground::AboutBackground() : m_strip(Strip()) {}

void AboutBackground::rebuild(QSize size) {
    m_phase = 0;
    if (size.isEmpty()) {
        m_picture = QImage();
        m_row = QImage();
        return;
    }
    m_row = m_strip.scaled(size.width(), 1, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .convertToFormat(QImage::Format_RGB32);
    m_picture = QImage(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(m_picture.scanLine(y), m_row.constScanLine(0), m_row.bytesPerLine());
}

void AboutBackground::tick() {
    const int dx = WaveOffset(m_phase);
    m_phase = NextWavePhase(m_phase);
    if (m_picture.isNull())
        return;
    const int w = m_picture.width();
    const int h = m_picture.height();
    // Each row goes to the row below, dx columns sideways; the bottom row falls off. The column
    // the shift uncovers keeps what the row below held, as a copy of the picture onto itself
    // does. Rows are copied from the bottom up so that no row is overwritten before it is read.
    const int count = w - std::abs(dx);
    for (int y = h - 2; y >= 0 && count > 0; --y) {
        const auto* src = reinterpret_cast<const QRgb*>(m_picture.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(m_picture.scanLine(y + 1));
        if (dx >= 0)
            std::memmove(dst + dx, src, count * sizeof(QRgb));
        else
            std::memmove(dst, src - dx, count * sizeof(QRgb));
    }
    std::memcpy(m_picture.scanLine(0), m_row.constScanLine(0), w * sizeof(QRgb));
}
