#pragma once

#include <QImage>

#include "common/colour.h"

// Hue in degrees, saturation and lightness 0 to 100.
struct Hsl {
    int hue = 0;
    int saturation = 0;
    int lightness = 0;

    friend bool operator==(const Hsl&, const Hsl&) = default;
};

// Red, green and blue 0 to 255.
struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The usual hexcone conversion, rounded half to even. The hue can come out as 360 for colours
// just short of red from the blue side, such as (255, 0, 1).
Hsl RgbToHsl(int red, int green, int blue);

// The way back: a piecewise-linear colour wheel, then a linear pull towards mid-grey for the
// saturation and towards black or white for the lightness. A hue outside 0..359 or a saturation
// or lightness outside 0..100 gives black. Not the exact inverse of RgbToHsl: a round trip can
// move a channel by one.
Rgb HslToRgb(int hue, int saturation, int lightness);

// Gives every pixel the hue, keeping its saturation and lightness. Pixels equal to the exempt
// colour are left as they are (NoColour exempts none); the alpha byte is kept. A hue outside
// 0..359 turns every other pixel black. Pictures not of 32 bits per pixel are widened first.
void ColorizeBitmap(QImage& bitmap, int hue, ColourValue exempt);

// Replaces every pixel's lightness L by 100 - L, keeping hue and saturation; the exempt colour
// and the alpha byte as for ColorizeBitmap.
void InvertLightness(QImage& bitmap, ColourValue exempt);
