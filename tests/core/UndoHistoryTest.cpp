#include "core/model/UndoHistory.h"
#include "core/model/GainMath.h"

#include <gtest/gtest.h>

namespace deskpanel {
namespace {

TEST(UndoHistory, TenSlotsNewestFirstCounterCappedAtEight)
{
    UndoHistory history;
    for (int i = 0; i < 12; ++i)
        history.record(i, UndoKind::Pad, 1);
    EXPECT_EQ(history.undoableCount(), 8);
    EXPECT_EQ(history.entries()[0], (UndoEntry{11, 5, 1}));
    EXPECT_EQ(history.entries()[9], (UndoEntry{2, 5, 1})); // 0 and 1 fell out

    const auto newest = history.takeNewest();
    ASSERT_TRUE(newest);
    EXPECT_EQ(newest->channel, 11);
    EXPECT_EQ(history.undoableCount(), 7);
    EXPECT_EQ(history.entries()[0].channel, 10);
    EXPECT_EQ(history.entries()[8].channel, 2);
    EXPECT_EQ(history.entries()[9].channel, 2); // the oldest slot keeps its value
}

TEST(UndoHistory, EmptyGivesNothing)
{
    UndoHistory history;
    EXPECT_FALSE(history.takeNewest());
    history.record(3, UndoKind::GainPosition, 40);
    EXPECT_TRUE(history.takeNewest());
    EXPECT_FALSE(history.takeNewest());
}

TEST(GainMath, PositionsToDbAndTexts)
{
    EXPECT_EQ(gainDb(72), 8);
    EXPECT_EQ(gainDb(0), 80);
    EXPECT_EQ(gainDb(30), 50);
    EXPECT_EQ(gainDb(-5), 80);
    EXPECT_EQ(gainDb(100), 8);
    EXPECT_EQ(gainDb(5, true), 69);
    EXPECT_EQ(gainDb(11, true), 69);
    EXPECT_EQ(gainDb(12, true), 68);
    EXPECT_EQ(overviewGainText(gainDb(72)), "+ 8 dB");
    EXPECT_EQ(underviewGainText(gainDb(72)), "+8 ");
    EXPECT_EQ(gainFloorPosition(true), 11);
    EXPECT_EQ(gainFloorPosition(false), 0);
}

} // namespace
} // namespace deskpanel
