#include "skins/scaled_picture.h"

#include <algorithm>

#include "common/colour.h"
#include "common/device_pixels.h"

namespace {

constexpr QRgb RgbMask = 0xFFFFFF;

// The source's colours with its KeyColour pixels fully transparent, premultiplied, so that smooth
// scaling weighs only the visible pixels.
QImage VisibleColours(const QImage& source) {
    const QRgb key = PixelFromColour(KeyColour) & RgbMask;
    QImage colours(source.size(), QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(colours.scanLine(y));
        for (int x = 0; x < source.width(); ++x)
            out[x] = (in[x] & RgbMask) == key ? 0 : (in[x] | 0xFF000000u);
    }
    return colours;
}

} // namespace

QImage ScaleSkinPicture(const QImage& keyed, const QImage& detail, qreal ratio) {
    const QImage logical = keyed.convertToFormat(QImage::Format_RGB32);
    const QSize size = DeviceSize(logical.size(), ratio);
    if (logical.isNull() || size.isEmpty())
        return {};
    QImage colours = VisibleColours(detail.isNull() ? logical : detail.convertToFormat(QImage::Format_RGB32));
    if (colours.size() != size)
        colours = colours.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const QRgb key = PixelFromColour(KeyColour) & RgbMask;
    QImage result(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        const int ly = std::min(LogicalPosition(y, ratio), logical.height() - 1);
        const auto* base = reinterpret_cast<const QRgb*>(logical.constScanLine(ly));
        const auto* colour = reinterpret_cast<const QRgb*>(colours.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const QRgb pixel = base[std::min(LogicalPosition(x, ratio), logical.width() - 1)];
            if ((pixel & RgbMask) == key || qAlpha(colour[x]) == 0) {
                // See-through stays see-through; a visible pixel that the detail left without any
                // visible neighbour keeps the normal picture's colour.
                out[x] = pixel;
            } else {
                out[x] = qUnpremultiply(colour[x]) | 0xFF000000u;
            }
        }
    }
    result.setDevicePixelRatio(ratio);
    return result;
}
