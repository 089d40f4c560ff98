#include "tabs/tab_geometry.h"

#include <algorithm>
#include <limits>

#include "skins/skin.h"

namespace {

// The row's numbers for one work area, in 64 bits: sums of user values (a spacing, a tab width,
// many tabs) cannot overflow, and the results are brought back into range at the end.
struct RowSpan {
    qint64 start = 0; // work-area bounds along the edge; the end is exclusive
    qint64 end = 0;
    qint64 spacing = 0; // the margin to the work area's start or end
    qint64 gap = 0;
    qint64 width = 0;
    qint64 pitch() const { return width + gap; }
};

RowSpan SpanFor(bool vertical, const QRect& area, const TabRow& row) {
    RowSpan span;
    span.start = vertical ? area.y() : area.x();
    span.end = span.start + (vertical ? area.height() : area.width());
    span.width = row.TabWidth;
    // A spacing below minus half a tab would pile the tabs up (with -TabWidth every tab stands on
    // the same spot) and put the first one mostly off the screen; one above the area's length less
    // a tab puts it wholly off. Within these bounds the first tab always shows.
    const qint64 low = -span.width / 2;
    const qint64 high = std::max(low, span.end - span.start - span.width);
    span.spacing = std::clamp<qint64>(row.Spacing, low, high);
    span.gap = row.NoGap ? 0 : span.spacing;
    return span;
}

qint64 FirstPosition(qint64 n, const RowSpan& span, TabAlignment align) {
    switch (align) {
    case TabAlignment::TopLeft:
        return span.start + span.spacing;
    case TabAlignment::Center:
        return span.start + (span.end - span.start) / 2 - (n * span.pitch()) / 2;
    case TabAlignment::BottomRight:
        return span.end - span.spacing - n * span.width - (n - 1) * span.gap;
    }
    return span.start;
}

qint32 ToInt32(qint64 value) {
    return qint32(
        std::clamp<qint64>(value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
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
    const RowSpan span = SpanFor(vertical, area, row);
    return ToInt32(FirstPosition(n, span, row.Align) + qint64(i) * span.pitch());
}

qint32 SlotAt(qint32 c, qint32 n, bool vertical, const QRect& area, const TabRow& row) {
    const RowSpan span = SpanFor(vertical, area, row);
    if (span.pitch() <= 0)
        return 0; // a skin with no width gives every coordinate the first slot
    return ToInt32((c - FirstPosition(n, span, row.Align)) / span.pitch());
}

qint32 TabsThatFit(qint32 n, bool vertical, const QRect& area, const TabRow& row) {
    if (n <= 0)
        return 0;
    const RowSpan span = SpanFor(vertical, area, row);
    // A negative spacing moves the row's ends past the work area's by as much, on purpose.
    const qint64 overhang = std::max<qint64>(0, -span.spacing);
    const auto fits = [&](qint64 k) {
        const qint64 first = FirstPosition(k, span, row.Align);
        return first >= span.start - overhang &&
               first + (k - 1) * span.pitch() + span.width <= span.end + overhang;
    };
    // A longer row reaches further at one end or both, so the rows that fit are those up to some
    // length; at least one tab is always shown.
    qint64 low = 1;
    qint64 high = n;
    while (low < high) {
        const qint64 middle = low + (high - low + 1) / 2;
        if (fits(middle))
            low = middle;
        else
            high = middle - 1;
    }
    return qint32(low);
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

qint32 RowsThatFit(TabEdge edge, const QRect& area, qint32 headHeight, qint32 itemHeight) {
    if (itemHeight <= 0)
        return std::numeric_limits<qint32>::max();
    const bool vertical = edge == TabEdge::Left || edge == TabEdge::Right;
    const qint64 length = vertical ? area.width() : area.height();
    return qint32(
        std::clamp<qint64>((length - headHeight) / itemHeight, 1, std::numeric_limits<qint32>::max()));
}

qint32 ClampFirstShown(qint32 first, qint32 count, qint32 rows) {
    return std::clamp(first, 0, std::max(0, count - rows));
}

qint32 FirstShowing(qint32 index, qint32 first, qint32 count, qint32 rows) {
    if (index < 0 || index >= count || rows <= 0)
        return ClampFirstShown(first, count, rows);
    if (index < first)
        first = index;
    else if (index >= first + rows)
        first = index - rows + 1;
    return ClampFirstShown(first, count, rows);
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
