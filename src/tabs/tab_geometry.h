#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include "common/settings.h"

class TSkin;

// What lines the tabs up along the edge: the row's alignment, the margin and gap, the width of
// one tab and whether the skin wants the tabs to touch.
struct TabRow {
    TabAlignment Align = TabAlignment::TopLeft;
    qint32 Spacing = 0;
    qint32 TabWidth = 0;
    bool NoGap = false;
};

TabRow RowFor(const Settings& settings, const TSkin& skin);

// The work area of monitor `screen` (1 is the first monitor) among `monitors`; past the last
// monitor, and for numbers below 1, the primary monitor's work area.
QRect ChooseWorkArea(qint32 screen, const QList<QRect>& monitors, const QRect& primary);

// The spacing used in a work area is kept between minus half a tab and the area's length less a
// tab, so that the first tab of a row always shows; the sums are made in 64 bits.

// Along-edge coordinate of tab i of n. Halving truncates toward zero.
qint32 TabPosition(qint32 i, qint32 n, bool vertical, const QRect& area, const TabRow& row);

// The slot in a row of n tabs under the along-edge coordinate c: negative before the row, n or
// more past it.
qint32 SlotAt(qint32 c, qint32 n, bool vertical, const QRect& area, const TabRow& row);

// How many tabs of a row of n, counted from the first, lie on the work area (the last one ending
// at most as far past the area's end as a negative spacing puts the first one before its start):
// the tabs beyond them could not be reached. At least one when n is not 0.
qint32 TabsThatFit(qint32 n, bool vertical, const QRect& area, const TabRow& row);

// Where a closed tab window i of n stands (its top-left corner); the size is not touched.
QPoint PlacedPosition(qint32 i, qint32 n, TabEdge edge, const QRect& area, const TabRow& row,
                      qint32 tabHeight);

// The window rectangle for an extent: the side at the screen edge stays on the work-area border
// and the far side moves; the along-edge position and the thickness come from `current`.
QRect ExtentGeometry(const QRect& current, TabEdge edge, const QRect& area, qint32 extent, qint32 headHeight);

// How many item rows an open tab may show: as many as fit into the work area's length along the
// tab's axis beside the head, so that the open tab never reaches past the work area. At least one;
// unlimited for a skin without item rows.
qint32 RowsThatFit(TabEdge edge, const QRect& area, qint32 headHeight, qint32 itemHeight);

// The first item shown by a tab of count items showing up to rows of them, kept so that the rows
// are full: between 0 and count - rows.
qint32 ClampFirstShown(qint32 first, qint32 count, qint32 rows);

// The first item shown once item index has been brought into view: unchanged when it shows
// already, else the least scrolling that shows it.
qint32 FirstShowing(qint32 index, qint32 first, qint32 count, qint32 rows);

// Where the rendered tab image is drawn in the window, so that the head end of the image lies at
// the window's far side.
QPoint PaintOffset(TabEdge edge, qint32 extent, qint32 fullExtent);

// Size of the rendered tab image for the edge.
QSize TabImageSize(TabEdge edge, qint32 tabWidth, qint32 headHeight, qint32 fullExtent);
