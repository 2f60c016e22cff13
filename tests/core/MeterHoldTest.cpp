#include "core/model/MeterHold.h"

#include <gtest/gtest.h>

using namespace deskpanel;

namespace {

ProjectPrefs holdPrefs(int peakHoldMs, std::uint16_t updateRateMs)
{
    ProjectPrefs prefs;
    prefs.peakHoldMs = peakHoldMs;
    prefs.ethernetUpdateRate = updateRateMs;
    return prefs;
}

} // namespace

TEST(MeterHold, HoldPeriodsFollowTheChoiceAndTheUpdateRate)
{
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(3000, 100)), 22);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(10000, 100)), 75);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(-1, 100)), 7500);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(0, 100)), 2);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(3000, 1000)), 2);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(10000, 1000)), 7);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(0, 1000)), 2);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(-1, 50)), 15000);
}

TEST(MeterHold, OverviewAlwaysHoldsThreeSeconds)
{
    for (int holdMs : {3000, 10000, -1, 0})
        EXPECT_EQ(overviewHoldPeriod(holdPrefs(holdMs, 100)), 22) << holdMs;
    EXPECT_EQ(overviewHoldPeriod(holdPrefs(0, 50)), 45);
    EXPECT_EQ(overviewHoldPeriod(holdPrefs(-1, 1000)), 2);
}

TEST(MeterHold, DamagedRecordsStillGiveAWorkingPeriod)
{
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(3000, 0)), 22); // rate 0 counts as 100 ms
    EXPECT_EQ(overviewHoldPeriod(holdPrefs(3000, 0)), 22);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(3000, 60000)), 1);
    EXPECT_EQ(underviewHoldPeriod(holdPrefs(1234, 100)), 22); // unknown time holds as 3 Sec
}

TEST(MeterHold, PeakHeights)
{
    EXPECT_EQ(peakHeightPx(0.0, UnderviewPixelsPerSegment), 167);
    EXPECT_EQ(peakHeightPx(20.0, UnderviewPixelsPerSegment), 0);
    EXPECT_EQ(peakHeightPx(8.5, UnderviewPixelsPerSegment), 96);
    EXPECT_EQ(peakHeightPx(0.0, OverviewPixelsPerSegment), 85);
    EXPECT_EQ(peakHeightPx(12.0, OverviewPixelsPerSegment), 34);
}

TEST(MeterHold, FallingPeakIsHeldUntilTheNextMultipleOfThePeriod)
{
    MeterHold hold;
    hold.apply(100, 22, -5, false); // count 0: refresh
    EXPECT_EQ(hold.heldHeightPx(), 100);
    for (int i = 1; i < 22; ++i) {
        hold.apply(40, 22, -20, false);
        ASSERT_EQ(hold.heldHeightPx(), 100) << "reading " << i;
        ASSERT_EQ(hold.peakReadout(), -5);
    }
    hold.apply(40, 22, -20, false); // count 22
    EXPECT_EQ(hold.heldHeightPx(), 40);
    EXPECT_EQ(hold.peakReadout(), -20);
    EXPECT_EQ(hold.readingCount(), 23u);
    hold.apply(30, 22, -25, false);
    EXPECT_EQ(hold.heldHeightPx(), 40);
}

TEST(MeterHold, RisingPeakRaisesHeldHeightAndReadoutAtOnce)
{
    MeterHold hold;
    hold.apply(10, 22, -40, false);
    hold.apply(50, 22, -30, false);
    EXPECT_EQ(hold.heldHeightPx(), 50);
    EXPECT_EQ(hold.peakReadout(), -30);
    hold.apply(80, 22, -12, false);
    EXPECT_EQ(hold.peakReadout(), -12);
    // A reading no higher than the held mark leaves the readout alone.
    hold.apply(80, 22, -3, false);
    EXPECT_EQ(hold.peakReadout(), -12);
}

TEST(MeterHold, OverStaysUntilTheRefreshFindsThePeakBelowTheTop)
{
    MeterHold hold;
    hold.apply(10, 4, -40, false); // count 0
    hold.apply(167, 4, 0, true); // count 1: over
    EXPECT_EQ(hold.peakReadout(), OverReadout);
    hold.apply(20, 4, -30, false); // count 2
    hold.apply(20, 4, -30, false); // count 3
    EXPECT_EQ(hold.peakReadout(), OverReadout);
    hold.apply(20, 4, -30, false); // count 4: refresh
    EXPECT_EQ(hold.peakReadout(), -30);
    hold.apply(167, 4, 0, true); // count 5
    hold.apply(167, 4, 0, true); // count 6, not higher: stays over
    hold.apply(167, 4, 0, true); // count 7
    hold.apply(167, 4, 0, true); // count 8: refresh while over
    EXPECT_EQ(hold.peakReadout(), OverReadout);
}

TEST(MeterHold, ResetReadoutStartsAgainFromZero)
{
    MeterHold hold;
    hold.apply(100, 22, 12, false);
    hold.resetReadout();
    EXPECT_EQ(hold.peakReadout(), 0);
    EXPECT_EQ(hold.heldHeightPx(), 100);
    hold.apply(150, 22, 7, false);
    EXPECT_EQ(hold.peakReadout(), 7);
}

TEST(MeterHold, ARiseNeverLowersTheReadout)
{
    // dBFS readouts are 0 or below, so after a reset the readout shows 0 until the next
    // refresh, even while the peak climbs.
    MeterHold hold;
    hold.apply(100, 22, -12, false);
    hold.resetReadout();
    hold.apply(120, 22, -8, false);
    EXPECT_EQ(hold.heldHeightPx(), 120);
    EXPECT_EQ(hold.peakReadout(), 0);
    for (int i = 2; i < 22; ++i)
        hold.apply(10, 22, -45, false);
    hold.apply(10, 22, -45, false); // count 22: refresh
    EXPECT_EQ(hold.peakReadout(), -45);
}
