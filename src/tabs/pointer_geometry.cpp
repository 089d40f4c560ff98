#include "tabs/pointer_geometry.h"

#include <cmath>
#include <cstdlib>

#include "common/rounding.h"

namespace {

bool HeadAtStart(TabEdge edge) {
    return edge == TabEdge::Bottom || edge == TabEdge::Right;
}

bool Horizontal(TabEdge edge) {
    return edge == TabEdge::Bottom || edge == TabEdge::Top;
}

// The coordinate that runs along the window's length, away from the screen edge.
int LengthCoordinate(TabEdge edge, QPoint point) {
    return Horizontal(edge) ? point.y() : point.x();
}

} // namespace

int HitIndex(const TabGeometry& tab, int openExtent, QPoint point) {
    // A skin without item rows cannot have an item under the pointer (and must not divide by 0).
    if (openExtent <= 0 || tab.itemHeight <= 0)
        return NoItem;
    const int c = LengthCoordinate(tab.edge, point);
    int index;
    if (HeadAtStart(tab.edge))
        index = static_cast<int>(std::floor(double(c - tab.headHeight) / tab.itemHeight));
    else
        index = (tab.count - 1) - c / tab.itemHeight; // integer division truncates toward zero
    return index < 0 ? NoItem : index;
}

bool BeyondDragThreshold(QPoint pressOrigin, QPoint point) {
    return std::abs(point.x() - pressOrigin.x()) > 10 || std::abs(point.y() - pressOrigin.y()) > 10;
}

int DropBoundary(const TabGeometry& tab, QPoint point) {
    if (tab.itemHeight <= 0)
        return -1;
    const int c = LengthCoordinate(tab.edge, point);
    if (HeadAtStart(tab.edge))
        return RoundHalfEven(double(c - tab.headHeight) / tab.itemHeight);
    return tab.count - RoundHalfEven(double(c) / tab.itemHeight);
}

int MarkerPosition(const TabGeometry& tab, int boundary) {
    if (HeadAtStart(tab.edge))
        return boundary * tab.itemHeight + tab.headHeight;
    return (tab.count - boundary) * tab.itemHeight;
}

QLine MarkerLine(TabEdge edge, int position, int tabWidth) {
    if (Horizontal(edge))
        return QLine(0, position, tabWidth, position);
    return QLine(position, 0, position, tabWidth);
}

QRect ItemRect(const TabGeometry& tab, int index, int tabWidth) {
    const int start = MarkerPosition(tab, HeadAtStart(tab.edge) ? index : index + 1);
    if (Horizontal(tab.edge))
        return QRect(0, start, tabWidth, tab.itemHeight);
    return QRect(start, 0, tab.itemHeight, tabWidth);
}
