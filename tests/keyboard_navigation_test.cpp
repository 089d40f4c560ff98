#include "tabs/keyboard_navigation.h"

#include <gtest/gtest.h>

namespace {

// Down and the other arrows on each edge: along the items they step toward the screen edge (+1)
// or the head (-1), the drawn order of the top edge being the reverse of the bottom edge's; across
// the items they go to the neighbouring tab.
TEST(KeyboardNavigation, ArrowKeysFollowTheDrawnOrderOnEveryEdge) {
    const struct {
        TabEdge edge;
        int up, down, left, right; // item steps
        int tabUp, tabDown, tabLeft, tabRight;
    } rows[] = {
        {TabEdge::Bottom, -1, 1, 0, 0, 0, 0, -1, 1},
        {TabEdge::Top, 1, -1, 0, 0, 0, 0, -1, 1},
        {TabEdge::Right, 0, 0, -1, 1, -1, 1, 0, 0},
        {TabEdge::Left, 0, 0, 1, -1, -1, 1, 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(int(row.edge));
        EXPECT_EQ(ItemStep(row.edge, Qt::Key_Up), row.up);
        EXPECT_EQ(ItemStep(row.edge, Qt::Key_Down), row.down);
        EXPECT_EQ(ItemStep(row.edge, Qt::Key_Left), row.left);
        EXPECT_EQ(ItemStep(row.edge, Qt::Key_Right), row.right);
        EXPECT_EQ(TabStep(row.edge, Qt::Key_Up), row.tabUp);
        EXPECT_EQ(TabStep(row.edge, Qt::Key_Down), row.tabDown);
        EXPECT_EQ(TabStep(row.edge, Qt::Key_Left), row.tabLeft);
        EXPECT_EQ(TabStep(row.edge, Qt::Key_Right), row.tabRight);
        EXPECT_EQ(ItemStep(row.edge, Qt::Key_A), 0);
        EXPECT_EQ(TabStep(row.edge, Qt::Key_Tab), 0);
    }
}

TEST(KeyboardNavigation, StepsStopAtTheEndsOrGoRound) {
    EXPECT_EQ(SteppedHighlight(0, 3, 1), 1);
    EXPECT_EQ(SteppedHighlight(2, 3, 1), 2);
    EXPECT_EQ(SteppedHighlight(0, 3, -1), 0);
    EXPECT_EQ(SteppedHighlight(-1, 3, 1), 0);
    EXPECT_EQ(SteppedHighlight(-1, 3, -1), 2);
    // A highlight left over from a longer item list.
    EXPECT_EQ(SteppedHighlight(7, 3, -1), 2);
    EXPECT_EQ(SteppedHighlight(-1, 0, 1), -1);

    EXPECT_EQ(SteppedTab(0, 4, -1, false), 0);
    EXPECT_EQ(SteppedTab(3, 4, 1, false), 3);
    EXPECT_EQ(SteppedTab(0, 4, -1, true), 3);
    EXPECT_EQ(SteppedTab(3, 4, 1, true), 0);
    EXPECT_EQ(SteppedTab(1, 4, 1, true), 2);
    EXPECT_EQ(SteppedTab(0, 1, 1, true), 0);
}

TEST(KeyboardNavigation, TypeAheadFindsTheNextItemStartingWithTheLetters) {
    const QStringList captions = {QStringLiteral("Calendar"), QStringLiteral("calculator"),
                                  QStringLiteral("Editor"), QStringLiteral("Camera")};
    // The search starts after the highlight and goes round, letter case aside.
    EXPECT_EQ(TypeAheadMatch(captions, -1, QStringLiteral("c")), 0);
    EXPECT_EQ(TypeAheadMatch(captions, 0, QStringLiteral("c")), 1);
    EXPECT_EQ(TypeAheadMatch(captions, 3, QStringLiteral("C")), 0);
    EXPECT_EQ(TypeAheadMatch(captions, 1, QStringLiteral("e")), 2);
    // More letters keep the item that still matches, or find the next one that does.
    EXPECT_EQ(TypeAheadMatch(captions, 0, QStringLiteral("ca")), 0);
    EXPECT_EQ(TypeAheadMatch(captions, 0, QStringLiteral("calc")), 1);
    EXPECT_EQ(TypeAheadMatch(captions, 1, QStringLiteral("cam")), 3);
    // The same letter again steps on through the items it starts.
    EXPECT_EQ(TypeAheadMatch(captions, 0, QStringLiteral("cc")), 1);
    EXPECT_EQ(TypeAheadMatch(captions, 1, QStringLiteral("cCc")), 3);
    // Nothing matches: the highlight is left to the caller.
    EXPECT_EQ(TypeAheadMatch(captions, 0, QStringLiteral("x")), -1);
    EXPECT_EQ(TypeAheadMatch(captions, 0, QStringLiteral("cx")), -1);
    EXPECT_EQ(TypeAheadMatch({}, -1, QStringLiteral("c")), -1);
}

} // namespace
