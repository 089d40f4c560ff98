#pragma once

#include <QImage>

// A prepared skin picture made ready for drawing at `ratio` device pixels per logical pixel:
// DeviceSize(keyed.size(), ratio) pixels, with that device pixel ratio.
// - `keyed` is the normal picture as the loader prepared it, see-through parts in KeyColour.
// - `detail` is the same picture drawn for ratio 2 (a skin's "@2x" file, prepared alike), or null.
// The colours come from `detail` when there is one, else from `keyed`, scaled smoothly; KeyColour
// pixels of the source take no part in the smoothing, so no edge takes on a tint of the key. The
// KeyColour pixels of the result are exactly those of `keyed`, each covering the device pixels
// whose centres lie in it: the outline, which a window can only cut in logical pixels, stays that
// of the normal picture, and no key-coloured pixel is left inside it.
QImage ScaleSkinPicture(const QImage& keyed, const QImage& detail, qreal ratio);
