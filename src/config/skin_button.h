#pragma once

#include <QImage>
#include <QRgb>

// The entry of a skin in the skins list is drawn with the skin's own button picture, 31 pixels
// high, when the skin folder holds one.
inline constexpr int SkinButtonHeight = 31;

// Mixes a tenth of the highlight colour into every pixel of the picture, as the selected entry
// shows it: each of red, green and blue becomes (highlight + 9 x pixel) div 10. The picture
// becomes 32 bits per pixel.
void BlendTowardsHighlight(QImage& picture, QRgb highlight);
