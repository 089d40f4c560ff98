#include "common/opaque_region.h"

#include <vector>

QRegion OpaqueRegion(const QImage& image, QRgb key) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const QRgb keyRgb = key | 0xFF000000u;
    // One rectangle per run of opaque pixels in a row: the rows come in order, runs within a row
    // from left to right and never touching, which is the sorted form QRegion::setRects takes.
    std::vector<QRect> runs;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        int x = 0;
        while (x < rgb.width()) {
            while (x < rgb.width() && (row[x] | 0xFF000000u) == keyRgb)
                ++x;
            const int start = x;
            while (x < rgb.width() && (row[x] | 0xFF000000u) != keyRgb)
                ++x;
            if (x > start)
                runs.emplace_back(start, y, x - start, 1);
        }
    }
    QRegion region;
    region.setRects(runs.data(), int(runs.size()));
    return region;
}
