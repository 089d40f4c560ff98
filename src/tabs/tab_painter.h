#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QRegion>
#include <QString>

#include "common/colour.h"
#include "common/settings.h"

class TSkin;
class TTab;

// The picture of a series for a position: pictures are used in turn, and past the last one the
// run from the loop start to the last repeats. A loop start beyond the series makes every later
// position use the first picture. `last` is the index of the series' last picture.
qint32 PickSeriesIndex(qint32 position, qint32 last, qint32 loopStart);

// Text formats of the tab: the title is one centred line, captions wrap from the top-left corner.
inline constexpr int TitleFormat = Qt::AlignCenter | Qt::TextSingleLine;
inline constexpr int CaptionFormat = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

// Draws text without a background into a box of the canvas in the canvas font, bold or plain.
void DrawItemText(QImage& canvas, const QFont& font, ColourValue colour, bool bold, int format,
                  const QString& text, const QRect& box);

// Draws text turned on its side: 90 reads downwards, 270 upwards. The text is drawn upright onto
// a picture filled with KeyColour, the picture is turned, and everything but the KeyColour pixels
// is copied into the box.
void DrawRotatedText(QImage& canvas, const QFont& font, ColourValue colour, bool bold, int angle, int format,
                     const QString& text, const QRect& box);

// Draws the whole open tab (head, title, one row per item shown, and the markers of a scrolled
// tab's hidden items) onto a canvas laid out for the edge:
// TabWidth x (HeadHeight + ItemsLength) logical pixels on the bottom and top edges, turned on the
// side ones. The canvas is not cleared first: pixels no picture covers keep their colour.
// A canvas with a device pixel ratio is drawn in its device pixels: the skin's pictures prepared
// for that ratio, icons and text at full resolution; positions and sizes stay logical.
void PaintTab(const TTab& tab, QImage& canvas, const Settings& settings);

// Draws what a closed tab shows: the head and its title, laid out as for a tab without items
// (TabWidth x HeadHeight, turned on the side edges), just as they appear in PaintTab's picture.
void PaintTabHead(const TTab& tab, QImage& canvas, const Settings& settings);

// Whether the caption of item index is drawn shortened (cut with "…") in its text box, so that
// its whole name is to be shown elsewhere. False for an index out of range or a skin without text.
bool CaptionShortened(const TTab& tab, int index);

// The outline of a tab for windows without per-pixel transparency: TabWidth wide and
// TabHeight + ItemsLength high, with the two top corners rounded when the skin's tab shape is
// rounded. It is laid out as on the bottom edge whatever the edge is.
QRegion OutlineRegion(const TTab& tab);
// The same outline for an items part of itemsLength pixels (0: the head alone).
QRegion OutlineRegion(const TTab& tab, qint32 itemsLength);
