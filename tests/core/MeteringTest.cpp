#include "core/model/Metering.h"
#include "core/model/MeterPreferencesForm.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/RecordingMeterListener.h"

#include <gtest/gtest.h>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

struct MeteringFixture : ::testing::Test {
    MeteringFixture()
    {
        metering.setListener(MeterView::Underview, &underview);
        metering.setListener(MeterView::Overview, &overview);
    }

    ProjectPrefs prefs;
    FakeClock clock;
    FakeTimers timers{clock};
    Metering metering{prefs, timers};
    RecordingMeterListener underview;
    RecordingMeterListener overview;
};

} // namespace

using MeteringModel = MeteringFixture;

TEST_F(MeteringModel, AReadingUpdatesTheUnderviewMeterAndAsksForThatMeterOnly)
{
    metering.setLevel(17, 13); // dBFS -18: segment 8, fraction 0.5

    ASSERT_EQ(underview.changes.size(), 1u);
    EXPECT_TRUE(overview.changes.empty());
    EXPECT_EQ(underview.changes[0].channel, 17);
    const MeterState& shown = underview.changes[0].meter;
    EXPECT_EQ(shown.position, (SegmentPosition{8, 0.5}));
    EXPECT_EQ(shown.vuHeight, 3603);
    EXPECT_EQ(shown.heightPx, 96); // trunc(11.5 x 8.35)
    EXPECT_EQ(shown.heldHeightPx, 96);
    EXPECT_EQ(shown.peakReadout, -9);
    EXPECT_FALSE(shown.resetMarkShown);
    EXPECT_EQ(metering.meter(MeterView::Underview, 17), shown);
    EXPECT_EQ(metering.meter(MeterView::Overview, 17), MeterState{});
}

TEST_F(MeteringModel, TheOverviewGetsTheWholeSegmentAndItsOwnHold)
{
    metering.setShownView(MeterView::Overview);
    metering.setLevel(383, 13);

    ASSERT_EQ(overview.changes.size(), 1u);
    EXPECT_TRUE(underview.changes.empty());
    const MeterState& shown = overview.changes[0].meter;
    EXPECT_EQ(overview.changes[0].channel, 383);
    EXPECT_EQ(shown.position, (SegmentPosition{8, 0.0}));
    EXPECT_EQ(shown.vuHeight, 3603);
    EXPECT_EQ(shown.heightPx, 51); // trunc(12 x 4.25)
    EXPECT_EQ(shown.heldHeightPx, 51);
    EXPECT_EQ(shown.peakReadout, 0);
    EXPECT_EQ(metering.hold(MeterView::Underview, 383).readingCount(), 0u);
}

TEST_F(MeteringModel, APeakAtTheTopReadsOver)
{
    metering.setLevel(0, 22);
    EXPECT_EQ(metering.meter(MeterView::Underview, 0).peakReadout, OverReadout);
    EXPECT_EQ(metering.meter(MeterView::Underview, 0).heightPx, 167);

    prefs.meterScaleDbu = 1;
    prefs.meterScaleDbfs = 0;
    metering.setLevel(1, 30); // clamped to 22 on dBU 22
    EXPECT_EQ(metering.meter(MeterView::Underview, 1).peakReadout, OverReadout);
    EXPECT_EQ(metering.meter(MeterView::Underview, 1).vuHeight, 4019);
}

TEST_F(MeteringModel, ChannelsOutsideTheRackAreDropped)
{
    metering.setLevel(-1, 10);
    metering.setLevel(MaxChannels, 10);
    metering.resetReadout(MaxChannels);
    EXPECT_TRUE(underview.changes.empty());
    EXPECT_FALSE(timers.isRunning(TimerId::MeterReadoutReset));
    EXPECT_EQ(metering.meter(MeterView::Underview, -1), MeterState{});
}

TEST_F(MeteringModel, FallingPeakHeldForThreeSecondsAtTheDefaultRate)
{
    metering.setLevel(4, 22);
    for (int i = 1; i < 22; ++i)
        metering.setLevel(4, -20);
    EXPECT_EQ(metering.meter(MeterView::Underview, 4).heldHeightPx, 167);
    EXPECT_EQ(metering.meter(MeterView::Underview, 4).peakReadout, OverReadout);
    metering.setLevel(4, -20); // the 23rd reading: count 22
    const MeterState& after = metering.meter(MeterView::Underview, 4);
    EXPECT_EQ(after.heldHeightPx, after.heightPx);
    EXPECT_LT(after.heldHeightPx, 167);
    EXPECT_EQ(after.peakReadout, -42); // segment 19 of dBFS -18: -40 + trunc(-10 x 0.2)
}

TEST_F(MeteringModel, OverviewKeepsTheThreeSecondHoldWhateverTheChoice)
{
    prefs.peakHoldMs = 0; // "Off": the underview would refresh every 2 readings
    prefs.peakHold3s = 0;
    prefs.peakHoldOff = 1;
    metering.setShownView(MeterView::Overview);
    metering.setLevel(9, 22);
    for (int i = 1; i < 22; ++i)
        metering.setLevel(9, -20);
    EXPECT_EQ(metering.meter(MeterView::Overview, 9).heldHeightPx, 85);
    metering.setLevel(9, -20);
    EXPECT_LT(metering.meter(MeterView::Overview, 9).heldHeightPx, 85);

    metering.setShownView(MeterView::Underview);
    metering.setLevel(9, 22);
    metering.setLevel(9, -20);
    metering.setLevel(9, -20); // count 2: refreshed already
    EXPECT_LT(metering.meter(MeterView::Underview, 9).heldHeightPx, 167);
}

TEST_F(MeteringModel, ReadoutResetShowsTheMarkForTwoSeconds)
{
    metering.setLevel(30, 10);
    underview.changes.clear();

    metering.resetReadout(30);
    ASSERT_EQ(underview.changes.size(), 1u);
    EXPECT_EQ(underview.changes[0].channel, 30);
    EXPECT_TRUE(underview.changes[0].meter.resetMarkShown);
    EXPECT_EQ(underview.changes[0].meter.peakReadout, 0);
    EXPECT_EQ(timers.periodOf(TimerId::MeterReadoutReset), 2000u);

    metering.setLevel(30, 12); // readings go on under the mark
    EXPECT_TRUE(metering.meter(MeterView::Underview, 30).resetMarkShown);

    timers.advance(1999);
    EXPECT_EQ(underview.marksCleared, 0);
    timers.advance(1);
    EXPECT_EQ(underview.marksCleared, 1);
    EXPECT_FALSE(metering.meter(MeterView::Underview, 30).resetMarkShown);
    EXPECT_FALSE(timers.isRunning(TimerId::MeterReadoutReset));
    timers.advance(5000);
    EXPECT_EQ(underview.marksCleared, 1);
}

TEST_F(MeteringModel, ASecondClickKeepsEveryMarkTwoSecondsFromThatClick)
{
    metering.resetReadout(1);
    timers.advance(1500);
    metering.resetReadout(2);
    timers.advance(1999);
    EXPECT_TRUE(metering.meter(MeterView::Underview, 1).resetMarkShown);
    timers.advance(1);
    EXPECT_FALSE(metering.meter(MeterView::Underview, 1).resetMarkShown);
    EXPECT_FALSE(metering.meter(MeterView::Underview, 2).resetMarkShown);
    EXPECT_EQ(underview.marksCleared, 1);
}

TEST_F(MeteringModel, NewPreferencesApplyFromTheNextReadingAndHoldsCarryOver)
{
    metering.setLevel(3, 13);
    const int heldBefore = metering.meter(MeterView::Underview, 3).heldHeightPx;

    MeterPreferencesForm form = MeterPreferencesForm::open(prefs);
    form.dbuScale = true;
    form.dbuMaxLevelIndex = 1; // 18
    form.applyTo(prefs);
    EXPECT_EQ(metering.meter(MeterView::Underview, 3).heldHeightPx, heldBefore);

    metering.setLevel(3, 18);
    const MeterState& after = metering.meter(MeterView::Underview, 3);
    EXPECT_EQ(after.position, (SegmentPosition{0, 0.0}));
    EXPECT_EQ(after.peakReadout, OverReadout);
    EXPECT_EQ(after.vuHeight, 4013);
}

TEST(MeteringLifetime, DestroyedModelLeavesNoTimerBehind)
{
    ProjectPrefs prefs;
    FakeClock clock;
    FakeTimers timers{clock};
    {
        Metering metering{prefs, timers};
        metering.resetReadout(0);
    }
    EXPECT_FALSE(timers.isRunning(TimerId::MeterReadoutReset));
    timers.fireNow(TimerId::MeterReadoutReset); // no handler left: nothing happens
}
