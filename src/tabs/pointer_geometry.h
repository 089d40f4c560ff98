#pragma once

#include <QLine>
#include <QRect>
#include <QPoint>
#include <QPolygon>

#include "common/settings.h"

// The pointer arithmetic of a tab window: which item lies under a client point, where a dragged
// file would be inserted, and where the insertion marker is drawn. Coordinates are client
// coordinates of the tab window (x to the right, y downward). HH is the skin's head height, IH its
// item height, count the number of items the window shows. A tab longer than its screen shows
// `count` items from item `first` on (it is scrolled by `first` items); item indexes and
// boundaries are those of the whole tab.

// No item under the point (the head, or a tab that shows no item area).
inline constexpr int NoItem = -1;

// The metrics the hit test and the drop boundary need.
struct TabGeometry {
    TabEdge edge = TabEdge::Bottom;
    int headHeight = 0; // HH
    int itemHeight = 0; // IH
    int count = 0;      // number of items shown
    int first = 0;      // index of the first item shown
};

// Index of the item under (x, y). While openExtent <= 0 there is none. On the bottom and right
// edges the head lies at the window's start, so the real quotient is rounded down; on the top and
// left edges the items are counted back from the head end with integer division, which assumes the
// fully open layout. Negative results (the head) come back as NoItem; a result above the last item
// is returned as it is, so that callers can tell "beyond the last item" from "on the head".
int HitIndex(const TabGeometry& tab, int openExtent, QPoint point);

// A left press becomes an item drag once the pointer has moved more than 10 pixels on either axis.
bool BeyondDragThreshold(QPoint pressOrigin, QPoint point);

// The insertion boundary nearest to the pointer: k lies before item k, 0 before the first item and
// count after the last. Halves go to the even neighbour. On the bottom and right edges points over
// the head can give -1 (no boundary; a drop there inserts at 0).
int DropBoundary(const TabGeometry& tab, QPoint point);

// Position of the marker of boundary k along the window's length (y on a horizontal edge, x on a
// vertical one). A scrolled tab's boundaries below `first` lie before the items shown.
int MarkerPosition(const TabGeometry& tab, int boundary);

// The marker line across the whole thickness of the tab at that position.
QLine MarkerLine(TabEdge edge, int position, int tabWidth);

// Where item index is drawn in the window of a fully open tab: its row across the whole thickness.
QRect ItemRect(const TabGeometry& tab, int index, int tabWidth);

// Which way a drag held at point scrolls a tab of total items: +1 toward the last item when the
// point lies within half an item of the items' far end and items follow the ones shown, -1 toward
// the first when it lies over the head or within half an item of it and items were scrolled past,
// else 0.
int DragScrollStep(const TabGeometry& tab, int total, QPoint point);

// The small triangle that tells there are more items past one end of those shown: in the row at
// that end (the head's end, or the far end), in the free strip between the row's end and its
// caption, across centred on the caption, pointing out of the row. caption is the caption's box in
// a row as a skin gives it (x across from the tab's outer side, y along from the row's start, as
// laid out on the bottom edge); an empty box for a skin without captions. The triangle is a third
// of an item long (4 to 10 pixels) and twice as wide, shorter where the strip is narrower (but at
// least 2 pixels long). Empty for a skin without item rows.
QPolygon MoreMarker(const TabGeometry& tab, int tabWidth, bool farEnd, const QRect& caption);

// Where the tooltip of an item's caption is anchored (the tooltip lies below and to the right of
// it): beside the item's row, just past the tab's thickness, so that it covers neither that row nor
// its neighbours. row is the item's row as ItemRect gives it.
QPoint CaptionTipAnchor(TabEdge edge, const QRect& row);
