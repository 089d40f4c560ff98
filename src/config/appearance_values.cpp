#include "config/appearance_values.h"

#include "common/hsl.h"
#include "common/rounding.h"

QString OpacityText(int alphaValue) {
    return QString::number(RoundHalfEven(alphaValue / 255.0 * 100.0)) + QLatin1Char('%');
}

QColor HueSwatchColour(int hue) {
    const Rgb rgb = HslToRgb(hue, 100, 50);
    return QColor(rgb.red, rgb.green, rgb.blue);
}
