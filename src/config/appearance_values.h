#pragma once

#include <QColor>
#include <QString>

// The opacity of a tab window for an AlphaV value, as the Appearance page shows it: the value
// divided by 255, in whole per cent ("78%" for 200).
QString OpacityText(int alphaValue);

// The pure colour of a hue in degrees (saturation 100, lightness 50) that the colour swatch shows.
QColor HueSwatchColour(int hue);
