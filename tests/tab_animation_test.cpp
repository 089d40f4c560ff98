#include <gtest/gtest.h>

#include <vector>

#include "tabs/tab_animation.h"

namespace {

constexpr qint32 Full = 120;  // three items of 40 pixels
constexpr qint32 Closed = -1; // TabHeight 16 - HeadHeight 17

// Ticks until the animation ends; returns the extents passed and counts the ticks.
std::vector<qint32> RunToEnd(TabAnimation& anim, qint32& extent, int* ticks = nullptr) {
    std::vector<qint32> passed;
    int count = 0;
    while (count < 1000) {
        ++count;
        if (anim.Tick(extent) == TabAnimation::TickResult::Ended)
            break;
        passed.push_back(extent);
    }
    if (ticks)
        *ticks = count;
    return passed;
}

TEST(TabAnimation, OpeningAndClosingSequences) {
    struct Row {
        const char* name;
        bool opening;
        AnimMode mode;
        qint32 from;
        qint32 full;
        std::vector<qint32> expected;
    };
    const Row rows[] = {
        {"linear open",
         true,
         AnimMode::Linear,
         Closed,
         Full,
         {11, 23, 35, 47, 59, 71, 83, 95, 107, 119, 120}},
        {"accelerated open",
         true,
         AnimMode::Accelerated,
         Closed,
         Full,
         {1, 4, 8, 13, 19, 26, 34, 43, 53, 64, 76, 89, 103, 118, 120}},
        {"off open", true, AnimMode::Off, Closed, Full, {119, 120}},
        {"linear close", false, AnimMode::Linear, Full, Full, {108, 96, 84, 72, 60, 48, 36, 24, 12, 0, -1}},
        {"off close", false, AnimMode::Off, Full, Full, {0, -1}},
        // An empty tab without animation has a step of 0; it still reaches its target.
        {"off open, empty tab", true, AnimMode::Off, Closed, 0, {0}},
        {"off close, empty tab", false, AnimMode::Off, 0, 0, {-1}},
    };
    for (const Row& r : rows) {
        TabAnimation anim;
        qint32 extent = r.from;
        if (!r.opening) {
            anim.SetOpen(true, r.full, Closed, r.mode, r.mode);
            extent = r.from;
        }
        anim.SetOpen(r.opening, r.full, Closed, r.mode, r.mode);
        int ticks = 0;
        EXPECT_EQ(RunToEnd(anim, extent, &ticks), r.expected) << r.name;
        // The end is noticed on the tick after the one that reached the target.
        EXPECT_EQ(ticks, static_cast<int>(r.expected.size()) + 1) << r.name;
        EXPECT_EQ(anim.Open(), r.opening) << r.name;
    }
}

TEST(TabAnimation, WritingOpenOnlyActsOnAChangeOfState) {
    TabAnimation anim;
    qint32 extent = Closed;
    using C = TabAnimation::Change;
    EXPECT_EQ(anim.SetOpen(false, Full, Closed, AnimMode::Accelerated, AnimMode::Accelerated), C::None);
    EXPECT_EQ(anim.SetOpen(true, Full, Closed, AnimMode::Accelerated, AnimMode::Accelerated),
              C::StartOpening);
    anim.Tick(extent);
    anim.Tick(extent);
    ASSERT_EQ(extent, 4);
    // Opening an opening tab restarts nothing: the step keeps growing.
    EXPECT_EQ(anim.SetOpen(true, Full, Closed, AnimMode::Accelerated, AnimMode::Accelerated), C::None);
    anim.Tick(extent);
    EXPECT_EQ(extent, 8);

    EXPECT_EQ(anim.SetOpen(false, Full, Closed, AnimMode::Accelerated, AnimMode::Accelerated),
              C::StartClosing);
    anim.Tick(extent);
    anim.Tick(extent);
    EXPECT_EQ(extent, 3);
    EXPECT_TRUE(anim.Open()); // the open state holds until the closing ends
    // A closing tab cannot be reopened ...
    EXPECT_EQ(anim.SetOpen(true, Full, Closed, AnimMode::Accelerated, AnimMode::Accelerated), C::None);
    EXPECT_EQ(anim.TargetExtent(), Closed);
    // ... but closing it again starts over with the closing mode's first step.
    EXPECT_EQ(anim.SetOpen(false, Full, Closed, AnimMode::Accelerated, AnimMode::Accelerated),
              C::StartClosing);
    anim.Tick(extent);
    EXPECT_EQ(extent, 1);
    RunToEnd(anim, extent);
    EXPECT_EQ(extent, Closed);
    EXPECT_FALSE(anim.Open());
    EXPECT_EQ(anim.SetOpen(true, Full, Closed, AnimMode::Linear, AnimMode::Linear), C::StartOpening);
}

// A key that asks for a closing tab turns it round; it stays open once the opening ends. Only a
// closing turns round.
TEST(TabAnimation, ReopeningTurnsOnlyAClosingRound) {
    TabAnimation anim;
    qint32 extent = Closed;
    using C = TabAnimation::Change;
    EXPECT_EQ(anim.Reopen(Full, AnimMode::Linear), C::None);
    anim.SetOpen(true, Full, Closed, AnimMode::Off, AnimMode::Linear);
    RunToEnd(anim, extent);
    EXPECT_EQ(anim.Reopen(Full, AnimMode::Linear), C::None);
    anim.SetOpen(false, Full, Closed, AnimMode::Off, AnimMode::Linear);
    anim.Tick(extent);
    ASSERT_EQ(extent, Full - 12);
    EXPECT_EQ(anim.Reopen(Full, AnimMode::Linear), C::StartOpening);
    EXPECT_FALSE(anim.Closing());
    EXPECT_EQ(RunToEnd(anim, extent), (std::vector<qint32>{Full}));
    EXPECT_TRUE(anim.Open());
}

TEST(TabAnimation, GrowingToANewTargetKeepsTheOpenState) {
    // After a drop the open tab grows linearly toward its new length.
    TabAnimation anim;
    qint32 extent = Closed;
    anim.SetOpen(true, 80, Closed, AnimMode::Off, AnimMode::Off);
    RunToEnd(anim, extent);
    ASSERT_EQ(extent, 80);
    anim.SetTarget(120);
    anim.SetAnimParams(AnimMode::Linear, 120);
    EXPECT_EQ(RunToEnd(anim, extent), (std::vector<qint32>{92, 104, 116, 120}));
    EXPECT_TRUE(anim.Open());
}

} // namespace
