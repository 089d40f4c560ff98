#pragma once

#include <QSize>
#include <QString>

class QFont;
class QPaintDevice;

// The caption as it can be shown word-wrapped in a box: unchanged when all its lines fit; else
// the lines that fit whole, the last of them ending in "…", joined with line breaks. An
// application's name ("ImageMagick (color depth=q16)") can be longer than the box, and a line cut
// through its letters reads as a drawing fault. Measures with the device's resolution.
QString FitCaption(const QString& text, const QFont& font, const QSize& box, QPaintDevice* device);
