#pragma once

#include <QRgb>
#include <QtGlobal>

// Integer colour values, as skin.ini and the pictures use them: red + 256 * green + 65536 * blue.
using ColourValue = qint32;

// The one transparency key colour: red 0, green 0, blue 254.
inline constexpr ColourValue KeyColour = 0xFE0000;
// A value no pixel can have: used where no colour is to be exempted.
inline constexpr ColourValue NoColour = 0x1000000;

constexpr ColourValue MakeColourValue(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}
constexpr int ColourRed(ColourValue c) {
    return c & 0xFF;
}
constexpr int ColourGreen(ColourValue c) {
    return (c >> 8) & 0xFF;
}
constexpr int ColourBlue(ColourValue c) {
    return (c >> 16) & 0xFF;
}

// QImage pixels (Format_RGB32 / ARGB32) hold 0xAARRGGBB; colour values hold 0x00BBGGRR.
constexpr ColourValue ColourFromPixel(QRgb pixel) {
    return MakeColourValue(qRed(pixel), qGreen(pixel), qBlue(pixel));
}
constexpr QRgb PixelFromColour(ColourValue c, int alpha = 0xFF) {
    return qRgba(ColourRed(c), ColourGreen(c), ColourBlue(c), alpha);
}
