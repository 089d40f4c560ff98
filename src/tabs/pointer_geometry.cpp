#include "tabs/pointer_geometry.h"

#include <algorithm>
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
    return index < 0 ? NoItem : tab.first + index;
}

bool BeyondDragThreshold(QPoint pressOrigin, QPoint point) {
    return std::abs(point.x() - pressOrigin.x()) > 10 || std::abs(point.y() - pressOrigin.y()) > 10;
}

int DropBoundary(const TabGeometry& tab, QPoint point) {
    if (tab.itemHeight <= 0)
        return -1;
    const int c = LengthCoordinate(tab.edge, point);
    const int shown = HeadAtStart(tab.edge) ? RoundHalfEven(double(c - tab.headHeight) / tab.itemHeight)
                                            : tab.count - RoundHalfEven(double(c) / tab.itemHeight);
    if (tab.first == 0)
        return shown;
    // Over the head of a scrolled tab the nearest boundary shown is the one before its first item.
    return tab.first + std::max(shown, 0);
}

int MarkerPosition(const TabGeometry& tab, int boundary) {
    const int shown = boundary - tab.first;
    if (HeadAtStart(tab.edge))
        return shown * tab.itemHeight + tab.headHeight;
    return (tab.count - shown) * tab.itemHeight;
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

int DragScrollStep(const TabGeometry& tab, int total, QPoint point) {
    if (tab.itemHeight <= 0 || tab.count <= 0)
        return 0;
    const int band = std::max(1, tab.itemHeight / 2);
    const int c = LengthCoordinate(tab.edge, point);
    const int length = tab.count * tab.itemHeight;
    // The distance from the head's end of the items: negative over the head.
    const int fromHead = HeadAtStart(tab.edge) ? c - tab.headHeight : length - 1 - c;
    if (fromHead < band)
        return tab.first > 0 ? -1 : 0;
    if (fromHead >= length - band)
        return tab.first + tab.count < total ? 1 : 0;
    return 0;
}

QPolygon MoreMarker(const TabGeometry& tab, int tabWidth, bool farEnd, const QRect& caption) {
    if (tab.itemHeight <= 0 || tab.count <= 0)
        return {};
    // The caption's extent along the row, from the row's start: turned on its side on the left and
    // right edges, where its top lies at the row's far side.
    int captionStart = tab.itemHeight / 2;
    int captionEnd = tab.itemHeight / 2;
    int middle = tabWidth / 2;
    if (!caption.isEmpty()) {
        captionStart =
            Horizontal(tab.edge) ? caption.top() : tab.itemHeight - caption.top() - caption.height();
        captionEnd = captionStart + caption.height();
        middle = caption.left() + caption.width() / 2;
    }
    const int length = tab.count * tab.itemHeight;
    // Along the length: the end of the items the marker points to, and the side it points from.
    const bool towardLarger = HeadAtStart(tab.edge) == farEnd;
    const int start = HeadAtStart(tab.edge) ? tab.headHeight : 0;
    // The free strip between the end and the caption: the tip lies on the row's outermost pixel,
    // the base a pixel short of the caption.
    const int strip = towardLarger ? tab.itemHeight - captionEnd : captionStart;
    const int size = std::max(2, std::min(std::clamp(tab.itemHeight / 3, 4, 10), strip - 1));
    const int tip = towardLarger ? start + length - 1 : start;
    const int base = towardLarger ? tip - size : tip + size;
    if (Horizontal(tab.edge))
        return QPolygon({QPoint(middle, tip), QPoint(middle - size, base), QPoint(middle + size, base)});
    return QPolygon({QPoint(tip, middle), QPoint(base, middle - size), QPoint(base, middle + size)});
}

QPoint CaptionTipAnchor(TabEdge edge, const QRect& row) {
    if (Horizontal(edge))
        return QPoint(row.right() + 1, row.top());
    return QPoint(row.left(), row.bottom() + 1);
}
