#pragma once

#include <QImage>
#include <QRegion>

// The pixels of `image` whose colour is not `key` (alpha is ignored), as a region in the
// image's coordinates: the shape of a window whose key-coloured pixels are see-through.
QRegion OpaqueRegion(const QImage& image, QRgb key);
