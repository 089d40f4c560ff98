#include "tabs/tab_geometry.h"

#include "skins/skin.h"

namespace {

// Work-area bounds along the edge; the end is exclusive, as the row's arithmetic expects.
qint32 StartOf(const QRect& area, bool vertical) { return vertical ? area.y() : area.x(); }
qint32 EndOf(const QRect& area, bool vertical) {
    return vertical ? area.y() + area.height() : area.x() + area.width();
}

qint32 FirstPosition(qint32 n, bool vertical, const QRect& area, const TabRow& row) {
    const qint32 start = StartOf(area, vertical);
    const qint32 end = EndOf(area, vertical);
    switch (row.Align) {
    case TabAlignment::TopLeft:
        return start + row.Spacing;
    case TabAlignment::Center:
        return start + (end - start) / 2 - (n * row.pitch()) / 2;
    case TabAlignment::BottomRight:
        return end - row.Spacing - n * row.TabWidth - (n - 1) * row.gap();
    }
    return start;
}

} // namespace

TabRow RowFor(const Settings& settings, const TSkin& skin) {
    return TabRow{settings.TabAlign, settings.Spacing, skin.TabWidth, skin.NoGap};
}

QRect ChooseWorkArea(qint32 screen, const QList<QRect>& monitors, const QRect& primary) {
    // Only a hand-edited settings file holds a number below 1; it gets the primary monitor,
    // like a number past the last monitor.
    if (screen < 1 || screen > monitors.size())
        return primary;
    return monitors[screen - 1];
}

qint32 TabPosition(qint32 i, qint32 n, bool vertical, const QRect& area, const TabRow& row) {
    if (row.Align == TabAlignment::BottomRight)
        return EndOf(area, vertical) - row.Spacing - (n - i) * row.TabWidth - (n - i - 1) * row.gap();
    return FirstPosition(n, vertical, area, row) + i * row.pitch();
}

qint32 SlotAt(qint32 c, qint32 n, bool vertical, const QRect& area, const TabRow& row) {
    if (row.pitch() == 0)
        return 0; // a skin with no width gives every coordinate the first slot
    return (c - FirstPosition(n, vertical, area, row)) / row.pitch();
}

QPoint PlacedPosition(qint32 i, qint32 n, TabEdge edge, const QRect& area, const TabRow& row,
                      qint32 tabHeight) {
    const bool vertical = edge == TabEdge::Left || edge == TabEdge::Right;
    const qint32 along = TabPosition(i, n, vertical, area, row);
    switch (edge) {
    case TabEdge::Bottom:
        return {along, area.y() + area.height() - tabHeight};
    case TabEdge::Top:
        return {along, area.y()};
    case TabEdge::Left:
        return {area.x(), along};
    case TabEdge::Right:
        return {area.x() + area.width() - tabHeight, along};
    }
    return {};
}

QRect ExtentGeometry(const QRect& current, TabEdge edge, const QRect& area, qint32 extent,
                     qint32 headHeight) {
    const qint32 length = extent + headHeight;
    QRect r = current;
    switch (edge) {
    case TabEdge::Bottom:
        r.setTop(area.y() + area.height() - length);
        r.setHeight(length);
        break;
    case TabEdge::Top:
        r.setHeight(length);
        break;
    case TabEdge::Right:
        r.setLeft(area.x() + area.width() - length);
        r.setWidth(length);
        break;
    case TabEdge::Left:
        r.setWidth(length);
        break;
    }
    return r;
}

QPoint PaintOffset(TabEdge edge, qint32 extent, qint32 fullExtent) {
    switch (edge) {
    case TabEdge::Top:
        return {0, extent - fullExtent};
    case TabEdge::Left:
        return {extent - fullExtent, 0};
    case TabEdge::Bottom:
    case TabEdge::Right:
        break;
    }
    return {0, 0};
}

QSize TabImageSize(TabEdge edge, qint32 tabWidth, qint32 headHeight, qint32 fullExtent) {
    const qint32 length = headHeight + fullExtent;
    if (edge == TabEdge::Left || edge == TabEdge::Right)
        return {length, tabWidth};
    return {tabWidth, length};
}
