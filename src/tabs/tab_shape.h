#pragma once

#include <QImage>
#include <QRegion>

#include "common/settings.h"

class TTab;

// The pixels of a rendered tab that are not KeyColour: the visible shape of a tab window, in
// logical pixels. A logical pixel of a picture drawn at a device pixel ratio belongs to it when
// any of its device pixels is not KeyColour.
QRegion OpaqueRegion(const QImage& image);

// The image with every KeyColour pixel that has a visible pixel next to it, or two pixels away
// across or along, given that pixel's colour (the nearest, looking left, right, up, then down).
// Pixels deeper in a see-through part keep the key colour.
QImage KeyFilledFromNeighbours(const QImage& image);

// The outline of a tab turned for the edge, in the (logical) coordinates of the rendered tab
// image, whose size tells whether it holds the items or the head alone: its
// rounded end lies at the head end of the image (the top on the bottom edge, the bottom on the
// top edge, the right on the left edge, the left on the right edge).
QRegion EdgeOutlineRegion(const TTab& tab, TabEdge edge, const QSize& imageSize);

// The part of an image-coordinate shape that a window of `windowSize` shows when the image is
// drawn at `offset`.
QRegion WindowShape(const QRegion& imageShape, QPoint offset, const QSize& windowSize);
