#pragma once

#include <QImage>
#include <QRegion>

#include "common/colour.h"
#include "common/settings.h"

// Picture operations done once per skin load (and by the tab drawing and the skins preview).
// Every picture they return is 32 bits per pixel (QImage::Format_RGB32).

// Turns the picture clockwise by 90, 180 or 270 degrees, in place. Any other angle leaves it as
// it is.
void RotateBitmap(QImage& bitmap, int angle);

// The elliptic region of the box left, top, right, bottom (right and bottom exclusive), shaped as
// the system's elliptic regions are: the ellipse fills the box less its right column and bottom
// row, and a pixel belongs to the region when its centre lies inside. Qt's own elliptic QRegion
// is lopsided at small sizes (its top row is empty), which would make the two corners differ.
QRegion EllipticRegion(int left, int top, int right, int bottom);

// Paints every pixel outside the two rounded outer corners of a tab on that edge with KeyColour.
// The outline is the union of two ellipses and two rectangles of radius r (right and bottom
// exclusive). A radius below 0 counts as 0 and one beyond the picture's width and height as the
// larger of the two.
void RoundCorners(QImage& bitmap, int r, TabEdge edge);

// Gives every pixel whose red, green and blue equal those of `from` the colour `to`, with its
// fourth byte set to 0. Nothing happens when the two colours are equal.
void ReplaceColour(QImage& bitmap, ColourValue from, ColourValue to);
