#include "tabs/pointer_geometry.h"

#include <gtest/gtest.h>

#include <QRegion>

#include <cstdlib>
#include <utility>

namespace {

// Points along the window's length: y on a horizontal edge, x on a vertical one.
QPoint Along(TabEdge edge, int c) {
    return (edge == TabEdge::Bottom || edge == TabEdge::Top) ? QPoint(5, c) : QPoint(c, 5);
}

const TabEdge AllEdges[] = {TabEdge::Bottom, TabEdge::Left, TabEdge::Top, TabEdge::Right};

} // namespace

TEST(HitIndex, HeadAtTheWindowStartOnBottomAndRightEdges) {
    for (TabEdge edge : {TabEdge::Bottom, TabEdge::Right}) {
        const TabGeometry tab{edge, 17, 40, 3};
        const struct {
            int c;
            int index;
        } rows[] = {{0, NoItem}, {16, NoItem}, {17, 0}, {56, 0}, {57, 1}, {136, 2}, {137, 3}};
        for (const auto& row : rows) {
            EXPECT_EQ(HitIndex(tab, 120, Along(edge, row.c)), row.index)
                << "edge " << int(edge) << " at " << row.c;
        }
    }
}

TEST(HitIndex, ItemsCountedBackFromTheHeadOnTopAndLeftEdges) {
    for (TabEdge edge : {TabEdge::Top, TabEdge::Left}) {
        const TabGeometry tab{edge, 17, 40, 3};
        const struct {
            int from;
            int to;
            int index;
        } rows[] = {{0, 39, 2}, {40, 79, 1}, {80, 119, 0}, {120, 136, NoItem}};
        for (const auto& row : rows) {
            for (int c = row.from; c <= row.to; ++c) {
                ASSERT_EQ(HitIndex(tab, 120, Along(edge, c)), row.index)
                    << "edge " << int(edge) << " at " << c;
            }
        }
    }
}

// However deep inside the head the pointer is, the answer is NoItem, not some other negative
// number: on the bottom and right edges the quotient is -3 there, on the top and left edges the
// items counted back from the head give -3 as well.
TEST(HitIndex, DeepInsideTheHeadIsNoItem) {
    for (TabEdge edge : {TabEdge::Bottom, TabEdge::Right})
        EXPECT_EQ(HitIndex(TabGeometry{edge, 100, 40, 3}, 220, Along(edge, 0)), NoItem) << int(edge);
    for (TabEdge edge : {TabEdge::Top, TabEdge::Left})
        EXPECT_EQ(HitIndex(TabGeometry{edge, 100, 40, 3}, 120, Along(edge, 219)), NoItem) << int(edge);
}

TEST(HitIndex, NoItemWhileTheTabShowsNoItemArea) {
    for (TabEdge edge : AllEdges) {
        const TabGeometry tab{edge, 17, 40, 3};
        for (int extent : {-1, 0}) {
            for (int c : {0, 20, 57, 100})
                EXPECT_EQ(HitIndex(tab, extent, Along(edge, c)), NoItem);
        }
        // A skin with item height 0 never divides by it.
        EXPECT_EQ(HitIndex(TabGeometry{edge, 17, 0, 3}, 120, Along(edge, 50)), NoItem);
    }
}

TEST(BeyondDragThreshold, ElevenPixelsOnEitherAxisStartADrag) {
    const QPoint origin(50, 50);
    const struct {
        QPoint point;
        bool drag;
    } rows[] = {
        {{60, 50}, false}, {{40, 60}, false}, {{60, 40}, false}, {{61, 50}, true},
        {{39, 50}, true},  {{50, 61}, true},  {{50, 39}, true},  {{50, 50}, false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(BeyondDragThreshold(origin, row.point), row.drag) << row.point.x() << "," << row.point.y();
}

TEST(DropBoundary, BoundariesAndMarkersOnEveryEdge) {
    const struct {
        TabEdge edge;
        int head;
        int from;
        int to;
        int boundary;
        int marker; // -1: no marker
    } rows[] = {
        // head at the start: y 37 lies half way and rounds to the even 0
        {TabEdge::Bottom, 17, 0, 37, 0, 17},
        {TabEdge::Bottom, 17, 38, 76, 1, 57},
        {TabEdge::Bottom, 17, 77, 80, 2, 97}, // 77 is half way: the even 2
        {TabEdge::Right, 17, 0, 37, 0, 17},
        {TabEdge::Right, 17, 38, 38, 1, 57},
        // a head taller than half an item gives -1 over its start
        {TabEdge::Bottom, 30, 0, 9, -1, -1},
        {TabEdge::Bottom, 30, 10, 50, 0, 30},
        // counted back from the head: 60 lies half way and rounds to the even 2
        {TabEdge::Top, 17, 0, 20, 3, 0},
        {TabEdge::Top, 17, 21, 59, 2, 40},
        {TabEdge::Top, 17, 60, 100, 1, 80},
        {TabEdge::Top, 17, 101, 136, 0, 120},
        {TabEdge::Left, 17, 0, 20, 3, 0},
        {TabEdge::Left, 17, 60, 60, 1, 80},
    };
    for (const auto& row : rows) {
        const TabGeometry tab{row.edge, row.head, 40, 3};
        for (int c = row.from; c <= row.to; ++c) {
            ASSERT_EQ(DropBoundary(tab, Along(row.edge, c)), row.boundary)
                << "edge " << int(row.edge) << " at " << c;
        }
        if (row.boundary >= 0) {
            EXPECT_EQ(MarkerPosition(tab, row.boundary), row.marker);
        }
    }
}

TEST(MarkerLine, SpansTheThicknessAcrossTheLength) {
    EXPECT_EQ(MarkerLine(TabEdge::Bottom, 57, 128), QLine(0, 57, 128, 57));
    EXPECT_EQ(MarkerLine(TabEdge::Top, 40, 128), QLine(0, 40, 128, 40));
    EXPECT_EQ(MarkerLine(TabEdge::Left, 80, 100), QLine(80, 0, 80, 100));
    EXPECT_EQ(MarkerLine(TabEdge::Right, 17, 100), QLine(17, 0, 17, 100));
}

// Every pixel of an item's row hit-tests to that item in a fully open tab, and the rows tile the
// items' area without gaps: the keyboard's menu and the screen reader point where the mouse would.
TEST(ItemRect, RowsAreWhereTheHitTestFindsTheirItems) {
    for (const auto& [edge, first] : {std::pair{TabEdge::Bottom, 0},
                                      {TabEdge::Left, 0},
                                      {TabEdge::Top, 0},
                                      {TabEdge::Right, 0},
                                      {TabEdge::Bottom, 10},
                                      {TabEdge::Left, 10},
                                      {TabEdge::Top, 10},
                                      {TabEdge::Right, 10}}) {
        const TabGeometry tab{edge, 17, 40, 3, first};
        const bool horizontal = edge == TabEdge::Bottom || edge == TabEdge::Top;
        QRegion covered;
        for (int index = first; index < first + tab.count; ++index) {
            const QRect row = ItemRect(tab, index, 128);
            EXPECT_EQ(horizontal ? row.width() : row.height(), 128);
            for (const QPoint corner : {row.topLeft(), row.bottomRight()})
                EXPECT_EQ(HitIndex(tab, 120, corner), index) << "edge " << int(edge);
            covered += row;
        }
        EXPECT_EQ(covered.rectCount(), 1) << "edge " << int(edge);
    }
}

// A tab scrolled by 10 items shows items 10 to 12 in its three rows: the hit test, the drop
// boundary and its marker count in the whole tab's items, on every edge.
TEST(ScrolledTab, HitTestAndDropBoundaryAtAnOffset) {
    const struct {
        TabEdge edge;
        int c;
        int hit;
        int boundary;
    } rows[] = {
        {TabEdge::Bottom, 0, NoItem, 10}, // over the head: the boundary before the first item shown
        {TabEdge::Bottom, 17, 10, 10},    {TabEdge::Bottom, 57, 11, 11},    {TabEdge::Bottom, 136, 12, 13},
        {TabEdge::Right, 16, NoItem, 10}, {TabEdge::Right, 97, 12, 12},     {TabEdge::Right, 136, 12, 13},
        {TabEdge::Top, 0, 12, 13},        {TabEdge::Top, 79, 11, 11},       {TabEdge::Top, 119, 10, 10},
        {TabEdge::Top, 136, NoItem, 10},  {TabEdge::Top, 300, NoItem, 10},  {TabEdge::Left, 20, 12, 13},
        {TabEdge::Left, 100, 10, 11},     {TabEdge::Left, 200, NoItem, 10},
    };
    for (const auto& row : rows) {
        const TabGeometry tab{row.edge, 17, 40, 3, 10};
        EXPECT_EQ(HitIndex(tab, 120, Along(row.edge, row.c)), row.hit)
            << "edge " << int(row.edge) << " at " << row.c;
        EXPECT_EQ(DropBoundary(tab, Along(row.edge, row.c)), row.boundary)
            << "edge " << int(row.edge) << " at " << row.c;
    }
    // The markers of the boundaries shown run from the head's end to the far end.
    for (const TabEdge edge : AllEdges) {
        const TabGeometry tab{edge, 17, 40, 3, 10};
        const bool headAtStart = edge == TabEdge::Bottom || edge == TabEdge::Right;
        for (int boundary = 10; boundary <= 13; ++boundary) {
            const int expected = headAtStart ? 17 + (boundary - 10) * 40 : (13 - boundary) * 40;
            EXPECT_EQ(MarkerPosition(tab, boundary), expected)
                << "edge " << int(edge) << " boundary " << boundary;
        }
    }
}

// A drag held within half an item of an end scrolls toward it while items lie past that end.
TEST(ScrolledTab, DragHeldNearAnEndScrolls) {
    const struct {
        TabEdge edge;
        int c;
        int step;
    } rows[] = {
        {TabEdge::Bottom, 0, -1},  {TabEdge::Bottom, 36, -1}, {TabEdge::Bottom, 37, 0},
        {TabEdge::Bottom, 116, 0}, {TabEdge::Bottom, 117, 1}, {TabEdge::Bottom, 136, 1},
        {TabEdge::Right, 17, -1},  {TabEdge::Right, 80, 0},   {TabEdge::Right, 130, 1},
        {TabEdge::Top, 0, 1},      {TabEdge::Top, 19, 1},     {TabEdge::Top, 20, 0},
        {TabEdge::Top, 99, 0},     {TabEdge::Top, 100, -1},   {TabEdge::Top, 130, -1},
        {TabEdge::Left, 5, 1},     {TabEdge::Left, 60, 0},    {TabEdge::Left, 119, -1},
    };
    for (const auto& row : rows) {
        const QPoint point = Along(row.edge, row.c);
        EXPECT_EQ(DragScrollStep(TabGeometry{row.edge, 17, 40, 3, 10}, 20, point), row.step)
            << "edge " << int(row.edge) << " at " << row.c;
        // Nothing lies before the first item, nor after the last page.
        if (row.step < 0)
            EXPECT_EQ(DragScrollStep(TabGeometry{row.edge, 17, 40, 3, 0}, 20, point), 0);
        if (row.step > 0)
            EXPECT_EQ(DragScrollStep(TabGeometry{row.edge, 17, 40, 3, 17}, 20, point), 0);
    }
    // A tab that fits never scrolls; nor does a skin without rows.
    for (const TabEdge edge : AllEdges) {
        for (int c = 0; c < 140; ++c)
            ASSERT_EQ(DragScrollStep(TabGeometry{edge, 17, 40, 3, 0}, 3, Along(edge, c)), 0);
        EXPECT_EQ(DragScrollStep(TabGeometry{edge, 17, 0, 3, 10}, 20, Along(edge, 0)), 0);
    }
}

// The "more" markers lie in the row at their end, clear of its caption (laid out as the skins lay
// captions out, turned on its side on the left and right edges), and point out of the row; a
// caption's tooltip lies beside its row, past the tab's thickness.
TEST(ScrolledTab, MoreMarkersAndCaptionTipsLeaveTheCaptionsFree) {
    const struct {
        QRect caption;
        int size; // the marker's length where the strip leaves room; 0: shorter
    } skins[] = {
        {QRect(42, 5, 82, 32), 0}, // caption 5 pixels from the row's start, 3 from its end
        {QRect(50, 12, 70, 16), 10},
        {QRect(), 10}, // no captions: the middle of the row
    };
    for (const auto& skin : skins) {
        for (const TabEdge edge : AllEdges) {
            const TabGeometry tab{edge, 17, 40, 3, 10};
            const bool horizontal = edge == TabEdge::Bottom || edge == TabEdge::Top;
            for (const bool farEnd : {false, true}) {
                const QPolygon marker = MoreMarker(tab, 128, farEnd, skin.caption);
                ASSERT_EQ(marker.size(), 3);
                const QRect row = ItemRect(tab, farEnd ? 12 : 10, 128);
                const QString where = QStringLiteral("edge %1 far %2 caption %3")
                                          .arg(int(edge))
                                          .arg(farEnd)
                                          .arg(skin.caption.top());
                EXPECT_TRUE(row.contains(marker.boundingRect())) << where.toStdString();
                // The caption's box in the window: across from the outer side, along the row as
                // drawn (its top at the row's far side when turned).
                const QRect& c = skin.caption;
                const QRect caption = horizontal ? c.translated(row.topLeft())
                                                 : QRect(row.left() + 40 - c.top() - c.height(), c.left(),
                                                         c.height(), c.width());
                if (!c.isEmpty())
                    EXPECT_FALSE(marker.boundingRect().intersects(caption)) << where.toStdString();
                // The tip is the point nearest to the end it points to.
                const int tip = horizontal ? marker[0].y() : marker[0].x();
                const int base = horizontal ? marker[1].y() : marker[1].x();
                const int end = MarkerPosition(tab, farEnd ? 13 : 10);
                EXPECT_LT(std::abs(tip - end), std::abs(base - end)) << where.toStdString();
                if (skin.size > 0)
                    EXPECT_EQ(std::abs(tip - base), skin.size) << where.toStdString();
                else
                    EXPECT_GE(std::abs(tip - base), 2) << where.toStdString();
            }
            EXPECT_TRUE(MoreMarker(TabGeometry{edge, 17, 0, 3, 10}, 128, true, skin.caption).isEmpty());
        }
    }
    for (const TabEdge edge : AllEdges) {
        const TabGeometry tab{edge, 17, 40, 3, 10};
        const QRect row = ItemRect(tab, 11, 128);
        const QPoint anchor = CaptionTipAnchor(edge, row);
        // Past the thickness, level with the row's start.
        const bool horizontal = edge == TabEdge::Bottom || edge == TabEdge::Top;
        EXPECT_EQ(anchor, horizontal ? QPoint(128, row.top()) : QPoint(row.left(), 128)) << int(edge);
    }
}
