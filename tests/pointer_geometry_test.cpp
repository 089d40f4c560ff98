#include "tabs/pointer_geometry.h"

#include <gtest/gtest.h>

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
