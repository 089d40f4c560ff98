#include <algorithm>
#include <limits>

#include <gtest/gtest.h>

#include "skins/skin.h"
#include "tabs/tab_geometry.h"

namespace {

const QRect Area(0, 0, 1024, 768);

TEST(TabGeometry, RowPositionsForEachAlignment) {
    struct Row {
        TabAlignment align;
        bool noGap;
        qint32 expected[3];
    };
    const Row rows[] = {
        {TabAlignment::TopLeft, false, {12, 152, 292}},
        {TabAlignment::Center, false, {302, 442, 582}},
        {TabAlignment::BottomRight, false, {604, 744, 884}},
        {TabAlignment::Center, true, {320, 448, 576}},
        {TabAlignment::TopLeft, true, {12, 140, 268}},
        {TabAlignment::BottomRight, true, {628, 756, 884}},
    };
    for (const Row& r : rows) {
        const TabRow row{r.align, 12, 128, r.noGap};
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(TabPosition(i, 3, false, Area, row), r.expected[i])
                << "align " << int(r.align) << " noGap " << r.noGap << " tab " << i;
    }
    // A vertical edge lines the tabs up from the work area's top, which need not be 0.
    const TabRow centred{TabAlignment::Center, 12, 128, false};
    EXPECT_EQ(TabPosition(0, 3, true, QRect(50, 100, 300, 1024), centred), 100 + 302);
}

TEST(TabGeometry, CentreHalvingDropsTheOddPixel) {
    // Seven tabs of pitch 140 are wider than a 901-pixel area: both halves drop their odd
    // pixel (450, not 450.5) and the row starts before the area.
    const TabRow row{TabAlignment::Center, 12, 128, false};
    EXPECT_EQ(TabPosition(0, 7, false, QRect(0, 0, 901, 10), row), 450 - 490);
    EXPECT_EQ(TabPosition(0, 3, false, QRect(0, 0, 1023, 10), row), 511 - 210);
}

TEST(TabGeometry, SlotUnderPointer) {
    const TabRow row{TabAlignment::Center, 12, 128, false};
    const std::pair<qint32, qint32> rows[] = {{160, -1}, {300, 0}, {441, 0}, {442, 1}, {700, 2}, {750, 3}};
    for (auto [c, slot] : rows)
        EXPECT_EQ(SlotAt(c, 3, false, Area, row), slot) << "at " << c;
    const TabRow right{TabAlignment::BottomRight, 12, 128, false};
    EXPECT_EQ(SlotAt(604, 3, false, Area, right), 0);
    EXPECT_EQ(SlotAt(884 + 127, 3, false, Area, right), 2);
    // A row whose pitch is 0 (tabs of length 0 without spacing, or without a gap) has one slot
    // for every coordinate instead of a division by zero.
    for (const TabRow& flat :
         {TabRow{TabAlignment::Center, 0, 0, false}, TabRow{TabAlignment::TopLeft, 12, 0, true}}) {
        for (const qint32 c : {-50, 0, 512, 2000})
            EXPECT_EQ(SlotAt(c, 3, false, Area, flat), 0) << "at " << c;
    }
}

// How many tabs of a row fit on a 1024-pixel area with tabs 128 wide, and where the first stands.
TEST(TabGeometry, TabsThatFitAndSpacingsPastTheScreen) {
    constexpr qint32 kMax = std::numeric_limits<qint32>::max();
    const struct {
        TabAlignment align;
        qint32 spacing;
        qint32 width;
        qint32 tabs;
        qint32 fit;
        qint32 first; // TabPosition of tab 0 in the row of the tabs that fit
    } rows[] = {
        {TabAlignment::TopLeft, 12, 128, 3, 3, 12},
        {TabAlignment::TopLeft, 12, 128, 200, 7, 12}, // the 7th ends at 980, an 8th would at 1120
        {TabAlignment::Center, 12, 128, 200, 7, 22},
        {TabAlignment::BottomRight, 12, 128, 200, 7, 44},
        {TabAlignment::TopLeft, 12, 128, 0, 0, 12},
        // a spacing past the screen keeps one tab at its far end, wholly on it
        {TabAlignment::TopLeft, kMax, 128, 5, 1, 1024 - 128},
        {TabAlignment::BottomRight, kMax, 128, 5, 1, 0},
        {TabAlignment::Center, kMax, 128, kMax, 1, 0},
        // below minus half a tab the tabs would pile up: half of the first still shows
        {TabAlignment::TopLeft, -100, 128, 100, 17, -64},
        {TabAlignment::TopLeft, -kMax - 1, 128, 1, 1, -64},
        // a tab wider than the screen is still shown, covering it
        {TabAlignment::TopLeft, 12, 4096, 3, 1, -2048},
    };
    for (const auto& r : rows) {
        const TabRow row{r.align, r.spacing, r.width, false};
        const qint32 fit = TabsThatFit(r.tabs, false, Area, row);
        EXPECT_EQ(fit, r.fit) << "align " << int(r.align) << " spacing " << r.spacing << " tabs " << r.tabs;
        EXPECT_EQ(TabPosition(0, std::max(fit, 1), false, Area, row), r.first)
            << "align " << int(r.align) << " spacing " << r.spacing << " tabs " << r.tabs;
    }
    // The slot arithmetic of a row far longer than the screen stays in range.
    EXPECT_LT(SlotAt(kMax, kMax, false, Area, TabRow{TabAlignment::Center, kMax, 4096, false}), kMax);
}

TEST(TabGeometry, ImageOffsetKeepsTheHeadAtTheFarSide) {
    EXPECT_EQ(PaintOffset(TabEdge::Top, -1, 120), QPoint(0, -121));
    EXPECT_EQ(PaintOffset(TabEdge::Left, 40, 120), QPoint(-80, 0));
    EXPECT_EQ(PaintOffset(TabEdge::Bottom, 40, 120), QPoint(0, 0));
    EXPECT_EQ(PaintOffset(TabEdge::Right, 40, 120), QPoint(0, 0));
    EXPECT_EQ(TabImageSize(TabEdge::Left, 128, 17, 120), QSize(137, 128));
    EXPECT_EQ(TabImageSize(TabEdge::Top, 128, 17, 120), QSize(128, 137));
}

// An open tab of any length stays inside the work area on every edge: its rows are limited to
// what fits beside the head, and the window made from that extent lies within the area.
TEST(TabGeometry, ALongTabsExtentStaysWithinTheWorkArea) {
    const QRect area(100, 40, 1180, 760); // a panel above and one to the left
    const qint32 head = 22;
    const qint32 item = 38;
    const struct {
        TabEdge edge;
        qint32 rows; // (length - head) / item
        QRect closed;
    } rows[] = {
        {TabEdge::Bottom, (760 - 22) / 38, QRect(300, 40 + 760 - 18, 128, 18)},
        {TabEdge::Top, (760 - 22) / 38, QRect(300, 40, 128, 18)},
        {TabEdge::Left, (1180 - 22) / 38, QRect(100, 300, 18, 128)},
        {TabEdge::Right, (1180 - 22) / 38, QRect(100 + 1180 - 18, 300, 18, 128)},
    };
    for (const auto& row : rows) {
        const qint32 fit = RowsThatFit(row.edge, area, head, item);
        EXPECT_EQ(fit, row.rows) << "edge " << int(row.edge);
        for (const qint32 count : {1, fit, fit + 1, 100000}) {
            const qint32 extent = std::min(count, fit) * item;
            const QRect open = ExtentGeometry(row.closed, row.edge, area, extent, head);
            EXPECT_TRUE(area.contains(open)) << "edge " << int(row.edge) << " items " << count;
            EXPECT_EQ(open.width() * open.height(), (extent + head) * 128);
        }
    }
    // A work area shorter than the head still shows one row; a skin without rows has no limit.
    EXPECT_EQ(RowsThatFit(TabEdge::Bottom, QRect(0, 0, 800, 10), head, item), 1);
    EXPECT_EQ(RowsThatFit(TabEdge::Left, area, head, 0), std::numeric_limits<qint32>::max());
}

TEST(TabGeometry, ScrollingKeepsFullRowsAndBringsAnItemIntoView) {
    const struct {
        qint32 first, count, rows, clamped;
    } clamps[] = {{-3, 60, 18, 0}, {10, 60, 18, 10}, {42, 60, 18, 42}, {43, 60, 18, 42}, {5, 10, 18, 0}};
    for (const auto& c : clamps)
        EXPECT_EQ(ClampFirstShown(c.first, c.count, c.rows), c.clamped) << c.first << " of " << c.count;
    const struct {
        qint32 index, first, expected;
    } views[] = {
        {0, 0, 0},    // shown already
        {17, 0, 0},   // the last row shown
        {18, 0, 1},   // one past: scrolls by one
        {59, 0, 42},  // the last item: the last full page
        {5, 20, 5},   // before the rows shown: becomes the first
        {30, 20, 20}, // shown already
        {-1, 20, 20}, // no item: nothing moves
        {60, 50, 42}, // past the items: only kept within them
    };
    for (const auto& v : views)
        EXPECT_EQ(FirstShowing(v.index, v.first, 60, 18), v.expected) << v.index << " from " << v.first;
}

TEST(TabGeometry, MonitorChoice) {
    const QList<QRect> monitors{QRect(0, 0, 1024, 740), QRect(1024, 0, 800, 600)};
    const QRect primary(1024, 0, 800, 570);
    EXPECT_EQ(ChooseWorkArea(1, monitors, primary), monitors[0]);
    EXPECT_EQ(ChooseWorkArea(2, monitors, primary), monitors[1]);
    EXPECT_EQ(ChooseWorkArea(3, monitors, primary), primary);
    EXPECT_EQ(ChooseWorkArea(0, monitors, primary), primary);
    EXPECT_EQ(ChooseWorkArea(-5, monitors, primary), primary);
}

} // namespace
