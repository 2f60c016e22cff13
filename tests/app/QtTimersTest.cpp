// A timer started again while it runs is postponed (not registered anew): it must still
// fire a whole period after the last start, once, and then keep its period.
#include "app/QtTimers.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace deskpanel {
namespace {

constexpr std::uint32_t PeriodMs = 40;

struct Fired {
    QtTimers timers;
    QElapsedTimer clock;
    std::vector<qint64> at;

    explicit Fired(bool oneShot)
    {
        clock.start();
        timers.setHandler(TimerId::FullResend, [this, oneShot] {
            if (oneShot)
                timers.stop(TimerId::FullResend);
            at.push_back(clock.elapsed());
        });
    }
    // Starts the timer every 5 ms for `ms`; returns the time of the last start.
    qint64 keepStarting(int ms, std::uint32_t period = PeriodMs)
    {
        qint64 last = 0;
        while (clock.elapsed() < ms) {
            last = clock.elapsed();
            timers.start(TimerId::FullResend, period);
            QTest::qWait(5);
        }
        return last;
    }
};

TEST(QtTimers, AOneShotStartedAgainAndAgainFiresOnceAPeriodAfterTheLastStart)
{
    Fired fired(true);
    const qint64 lastStart = fired.keepStarting(100);
    EXPECT_TRUE(fired.at.empty());
    (void)QTest::qWaitFor([&] { return !fired.at.empty(); }, 2000);
    QTest::qWait(2 * PeriodMs);
    ASSERT_EQ(fired.at.size(), 1u);
    EXPECT_GE(fired.at[0], lastStart + PeriodMs);
    EXPECT_FALSE(fired.timers.isRunning(TimerId::FullResend));
}

TEST(QtTimers, APostponedPeriodicTimerKeepsItsPeriodAndANewPeriodTakesEffectAtOnce)
{
    Fired fired(false);
    const qint64 lastStart = fired.keepStarting(60);
    (void)QTest::qWaitFor([&] { return fired.at.size() >= 3; }, 3000);
    fired.timers.stop(TimerId::FullResend);
    ASSERT_GE(fired.at.size(), 3u);
    EXPECT_GE(fired.at[0], lastStart + PeriodMs);
    EXPECT_GE(fired.at[2] - fired.at[0], 2 * PeriodMs - 2); // not fired at once after the rest

    // A shorter period while the long one runs is not a postponement.
    fired.at.clear();
    fired.timers.start(TimerId::FullResend, 2000);
    const qint64 shortStart = fired.clock.elapsed();
    fired.timers.start(TimerId::FullResend, 10);
    (void)QTest::qWaitFor([&] { return !fired.at.empty(); }, 1000);
    fired.timers.stop(TimerId::FullResend);
    ASSERT_FALSE(fired.at.empty());
    EXPECT_LT(fired.at[0] - shortStart, 1000);
}

} // namespace
} // namespace deskpanel
