#include "common/hsl.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "common/rounding.h"

namespace {

// 255 / 60: how far the wheel's rising or falling channel moves per degree.
constexpr double WheelStep = 4.25;

Rgb WheelColour(int hue) {
    if (hue <= 60)
        return {255, RoundHalfEven(hue * WheelStep), 0};
    if (hue <= 120)
        return {RoundHalfEven(255 - (hue - 60) * WheelStep), 255, 0};
    if (hue <= 180)
        return {0, 255, RoundHalfEven((hue - 120) * WheelStep)};
    if (hue <= 240)
        return {0, RoundHalfEven(255 - (hue - 180) * WheelStep), 255};
    if (hue <= 300)
        return {RoundHalfEven((hue - 240) * WheelStep), 0, 255};
    return {255, 0, RoundHalfEven(255 - (hue - 300) * WheelStep)};
}

// QImage keeps 32-bit pixels as 0xAARRGGBB.
QRgb RgbBits(const Rgb& c) {
    return (QRgb(c.red) << 16) | (QRgb(c.green) << 8) | QRgb(c.blue);
}

// Applies a colour mapping to every pixel except the exempt colour. Skin pictures hold few
// distinct colours, so the result of each colour is remembered in a small direct-mapped table:
// a repeated colour costs one lookup instead of two conversions, with the same result.
template <typename Mapping> void MapPixels(QImage& bitmap, ColourValue exempt, Mapping mapping) {
    if (bitmap.format() != QImage::Format_RGB32 && bitmap.format() != QImage::Format_ARGB32) {
        bitmap.convertTo(bitmap.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    }
    constexpr quint32 NoMatch = 0xFFFFFFFFu; // no 24-bit colour has this value
    const quint32 exemptBits =
        exempt >= 0 && exempt <= 0xFFFFFF ? PixelFromColour(exempt) & 0xFFFFFFu : NoMatch;

    constexpr int CacheBits = 12;
    struct Entry {
        quint32 from;
        quint32 to;
    };
    std::array<Entry, 1 << CacheBits> cache;
    cache.fill(Entry{NoMatch, 0});

    const int width = bitmap.width();
    for (int y = 0; y < bitmap.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const QRgb pixel = row[x];
            const quint32 colour = pixel & 0xFFFFFFu;
            if (colour == exemptBits)
                continue;
            Entry& entry = cache[(colour * 0x9E3779B1u) >> (32 - CacheBits)];
            if (entry.from != colour) {
                entry.from = colour;
                entry.to = RgbBits(mapping(RgbToHsl(qRed(pixel), qGreen(pixel), qBlue(pixel))));
            }
            row[x] = (pixel & 0xFF000000u) | entry.to;
        }
    }
}

} // namespace

Hsl RgbToHsl(int red, int green, int blue) {
    const double r = red / 255.0;
    const double g = green / 255.0;
    const double b = blue / 255.0;
    const double max = std::max({r, g, b});
    const double min = std::min({r, g, b});
    const double l = (max + min) / 2;
    double s = 0;
    double h = 0;
    if (max != min) {
        const double d = max - min;
        s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
        if (r == max)
            h = (g - b) / d;
        else if (g == max)
            h = 2 + (b - r) / d;
        else
            h = 4 + (r - g) / d;
        h = h / 6;
        if (h < 0)
            h = h + 1;
    }
    return {RoundHalfEven(h * 360), RoundHalfEven(s * 100), RoundHalfEven(l * 100)};
}

Rgb HslToRgb(int hue, int saturation, int lightness) {
    if (hue < 0 || hue >= 360 || saturation < 0 || saturation > 100 || lightness < 0 || lightness > 100)
        return {0, 0, 0};
    Rgb c = WheelColour(hue);
    int* channels[] = {&c.red, &c.green, &c.blue};

    const double d = std::abs(saturation - 100) / 100.0;
    for (int* channel : channels)
        *channel = RoundHalfEven(*channel - (*channel - 128) * d);

    const double e = (lightness - 50) / 50.0;
    if (e > 0) {
        for (int* channel : channels)
            *channel = RoundHalfEven(*channel + (255 - *channel) * e);
    } else if (e < 0) {
        for (int* channel : channels)
            *channel = RoundHalfEven(*channel + *channel * e);
    }
    return c;
}

void ColorizeBitmap(QImage& bitmap, int hue, ColourValue exempt) {
    MapPixels(bitmap, exempt, [hue](const Hsl& hsl) { return HslToRgb(hue, hsl.saturation, hsl.lightness); });
}

void InvertLightness(QImage& bitmap, ColourValue exempt) {
    MapPixels(bitmap, exempt, [](const Hsl& hsl) {
        // RgbToHsl rounds hues just short of a full turn up to 360, which HslToRgb rejects as out
        // of range; taken as 0 (the same hue) such pixels keep their colour instead of going black.
        const int hue = hsl.hue == 360 ? 0 : hsl.hue;
        return HslToRgb(hue, hsl.saturation, 100 - hsl.lightness);
    });
}
