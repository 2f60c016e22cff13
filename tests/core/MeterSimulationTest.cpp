#include "core/model/MeterSimulation.h"
#include "core/model/MeterPalette.h"
#include "core/model/Metering.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/RecordingMeterListener.h"

#include <gtest/gtest.h>

#include <deque>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

// Hands out prepared numbers in order, then 0.
class ScriptedRandom : public RandomSource {
public:
    ScriptedRandom(std::initializer_list<int> values) : m_values(values) {}
    int next() override
    {
        if (m_values.empty())
            return 0;
        const int value = m_values.front();
        m_values.pop_front();
        return value;
    }

private:
    std::deque<int> m_values;
};

ProjectPrefs dbuPrefs(int maxLevelDb)
{
    ProjectPrefs prefs;
    prefs.meterScaleDbu = 1;
    prefs.meterScaleDbfs = 0;
    prefs.dbuMaxLevel = maxLevelDb;
    return prefs;
}

MeterReading readingFrom(std::initializer_list<int> draws, const ProjectPrefs& prefs)
{
    ScriptedRandom random(draws);
    return MeterSimulation::simulatedReading(random, MeterScale::fromPrefs(prefs));
}

} // namespace

TEST(MeterSimulation, LowestDraws)
{
    // d = 1000, s = 0, level = trunc(13.43) - 31 = -18
    const MeterReading dbfs = readingFrom({0, 0}, ProjectPrefs{});
    EXPECT_EQ(dbfs.position, (SegmentPosition{0, 0.0}));
    EXPECT_EQ(dbfs.vuHeight, 4095);
    EXPECT_EQ(dbfs.readoutCandidate, -39); // trunc(13 x 0.90909094) - 50
    EXPECT_EQ(readingFrom({0, 0}, dbuPrefs(22)).readoutCandidate, -16); // trunc(11.82 - 28)
    EXPECT_EQ(readingFrom({0, 0}, dbuPrefs(9)).readoutCandidate, -19); // trunc(8.86 - 28)
}

TEST(MeterSimulation, HighestDraws)
{
    // d = 5096, s = 20, level = trunc(68.44) - 31 = 37
    const MeterReading dbfs = readingFrom({32767, 32767}, ProjectPrefs{});
    EXPECT_EQ(dbfs.position, (SegmentPosition{20, 0.0}));
    EXPECT_EQ(dbfs.vuHeight, 0);
    EXPECT_EQ(dbfs.readoutCandidate, 11); // trunc(68 x 0.90909094) - 50
    EXPECT_EQ(readingFrom({32767, 32767}, dbuPrefs(18)).readoutCandidate, 29); // trunc(57.49 - 28)
    EXPECT_EQ(readingFrom({32767, 32767}, dbuPrefs(15)).readoutCandidate, 25); // trunc(53.78 - 28)
    EXPECT_EQ(readingFrom({32767, 32767}, dbuPrefs(12)).readoutCandidate, 22); // trunc(50.07 - 28)
}

TEST(MeterSimulation, MiddleDraws)
{
    // d = trunc(16384 / 32767 x 4096 + 1000) = 3048, level = trunc(40.94) - 31 = 9;
    // s = trunc(16383 / 32767 x 20) = 9
    const MeterReading reading = readingFrom({16384, 16383}, ProjectPrefs{});
    EXPECT_EQ(reading.position.segment, 9);
    EXPECT_EQ(reading.vuHeight, 2252); // trunc(11 x 204.75)
    EXPECT_EQ(reading.readoutCandidate, -14); // trunc(40 x 0.90909094) - 50
}

TEST(MeterSimulation, RangesOverManyDraws)
{
    SeededRandomSource random(12345);
    const MeterScale dbfs = MeterScale::fromPrefs(ProjectPrefs{});
    const MeterScale dbu22 = MeterScale::fromPrefs(dbuPrefs(22));
    for (int i = 0; i < 20000; ++i) {
        const MeterReading a = MeterSimulation::simulatedReading(random, dbfs);
        ASSERT_GE(a.position.segment, 0);
        ASSERT_LE(a.position.segment, 20);
        ASSERT_EQ(a.position.fraction, 0.0);
        ASSERT_GE(a.vuHeight, 0);
        ASSERT_LE(a.vuHeight, 4095);
        ASSERT_GE(a.readoutCandidate, -39);
        ASSERT_LE(a.readoutCandidate, 11);
        const MeterReading b = MeterSimulation::simulatedReading(random, dbu22);
        ASSERT_GE(b.readoutCandidate, -16);
        ASSERT_LE(b.readoutCandidate, 33);
    }
}

TEST(MeterSimulation, SameSeedSameSequence)
{
    SeededRandomSource a(7);
    SeededRandomSource b(7);
    SeededRandomSource c(8);
    bool differs = false;
    for (int i = 0; i < 100; ++i) {
        const int x = a.next();
        ASSERT_EQ(x, b.next());
        ASSERT_GE(x, 0);
        ASSERT_LE(x, RandomSource::Max);
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);
}

struct MeterSimulationRun : ::testing::Test {
    MeterSimulationRun() { metering.setListener(MeterView::Underview, &listener); }

    ProjectPrefs prefs;
    FakeClock clock;
    FakeTimers timers{clock};
    Metering metering{prefs, timers};
    RecordingMeterListener listener;
};

TEST_F(MeterSimulationRun, EveryTickFeedsAllChannelsInOrder)
{
    ScriptedRandom random({0, 0, 32767, 32767});
    MeterSimulation simulation(prefs, timers, metering, random);
    EXPECT_FALSE(simulation.isRunning());
    simulation.start();
    EXPECT_TRUE(simulation.isRunning());
    EXPECT_EQ(timers.periodOf(TimerId::SimulatedMeters), 50u);

    timers.advance(49);
    EXPECT_TRUE(listener.changes.empty());
    timers.advance(1);
    ASSERT_EQ(listener.changes.size(), static_cast<std::size_t>(MaxChannels));
    for (int c = 0; c < MaxChannels; ++c)
        ASSERT_EQ(listener.changes[static_cast<std::size_t>(c)].channel, c);
    // Channel 0 took the first two draws (d, then s), channel 1 the next two.
    EXPECT_EQ(listener.changes[0].meter.position.segment, 0);
    EXPECT_EQ(listener.changes[0].meter.peakReadout, OverReadout);
    EXPECT_EQ(listener.changes[1].meter.position.segment, 20);
    EXPECT_EQ(listener.changes[1].meter.heightPx, 0);

    timers.advance(100);
    EXPECT_EQ(listener.changes.size(), 3u * MaxChannels);
    simulation.stop();
    timers.advance(1000);
    EXPECT_EQ(listener.changes.size(), 3u * MaxChannels);
    EXPECT_FALSE(simulation.isRunning());
}

TEST_F(MeterSimulationRun, RealReadingsGoOnWhileSimulating)
{
    SeededRandomSource random(3);
    MeterSimulation simulation(prefs, timers, metering, random);
    simulation.start();
    timers.advance(50);
    metering.setLevel(5, 13);
    EXPECT_EQ(metering.meter(MeterView::Underview, 5).position, (SegmentPosition{8, 0.5}));
    EXPECT_EQ(metering.hold(MeterView::Underview, 5).readingCount(), 2u);
}

TEST_F(MeterSimulationRun, FullScaleSimulatedReadingDrawsWithTheLastPaletteColour)
{
    ScriptedRandom random({0, 0});
    MeterSimulation simulation(prefs, timers, metering, random);
    simulation.tick();
    const MeterState& meter = metering.meter(MeterView::Underview, 0);
    ASSERT_EQ(meter.vuHeight, 4095);
    EXPECT_EQ(barStripeColour(meter.vuHeight, 145, 145, 347, prefs.redZoneThreshold), MeterPalette::shared().at(4094));
    EXPECT_EQ(levelStepColour(meter.vuHeight), (Rgb{226, 73, 38}));
}
