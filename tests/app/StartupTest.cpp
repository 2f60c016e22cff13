// Start-up order, the single-copy lock, and the click-through guard after file dialogs.
#include "app/ClickThroughGuard.h"
#include "app/SingleInstance.h"
#include "app/StartupSequence.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/ForkedChild.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace deskpanel::test {
namespace {

class RecordingSteps : public StartupSteps {
public:
    void prepare() override { steps.push_back("prepare"); }
    void finalLayout() override { steps.push_back("layout"); }
    void startLink() override { steps.push_back("link"); }
    void registerAssociation() override { steps.push_back("association"); }
    void openStartProject() override { steps.push_back("project"); }
    void showWindow() override { steps.push_back("show"); }
    void resetAllChannels() override { steps.push_back("reset"); }
    std::vector<std::string> steps;
};

TEST(Startup, RunsItsStepsInOrderAndResetsChannelsThreeSecondsLater)
{
    FakeClock clock;
    FakeTimers timers(clock);
    RecordingSteps steps;
    StartupSequence startup(timers, steps);

    startup.begin();
    EXPECT_EQ(steps.steps, std::vector<std::string>{"prepare"}); // the window stays hidden
    EXPECT_EQ(timers.periodOf(TimerId::Startup), 100u);

    timers.advance(99);
    EXPECT_FALSE(startup.hasShown());
    timers.advance(1);
    // The project is read before the window first shows.
    EXPECT_EQ(steps.steps, (std::vector<std::string>{"prepare", "layout", "link", "association", "project", "show"}));
    EXPECT_FALSE(timers.isRunning(TimerId::Startup)); // one tick only
    EXPECT_EQ(timers.periodOf(TimerId::Refresh), 1000u);
    EXPECT_EQ(timers.periodOf(TimerId::FullResend), 500u);
    EXPECT_EQ(timers.periodOf(TimerId::ResetChannels), 3000u);

    timers.advance(2999);
    EXPECT_EQ(steps.steps.back(), "show");
    timers.advance(1);
    EXPECT_EQ(steps.steps.back(), "reset");
    timers.advance(10000);
    EXPECT_EQ(std::count(steps.steps.begin(), steps.steps.end(), "reset"), 1); // once only
}

TEST(SingleInstance, SecondCopyIsRefusedAndALeftOverLockIsTakenOver)
{
    TempFolder folder;
    const QString at = QString::fromStdString(folder.path());
    const auto tryInAnotherProcess = [&at] {
        return runInChild([&at] {
                   SingleInstance other(at);
                   return std::string(other.acquire() ? "locked" : "refused");
               })
            .output;
    };
    {
        SingleInstance first(at);
        ASSERT_TRUE(first.acquire());
        EXPECT_TRUE(first.lockPath().endsWith(QStringLiteral("PreventSecondInstance.lock")));
        EXPECT_EQ(tryInAnotherProcess(), "refused");
    }
    // A copy that crashed leaves its lock file behind (the lock is never released).
    const ChildResult crashed = runInChild([&at] {
        auto* dying = new SingleInstance(at);
        return std::string(dying->acquire() ? "locked" : "refused");
    });
    ASSERT_EQ(crashed.output, "locked");
    ASSERT_FALSE(folder.entries().empty());
    SingleInstance next(at);
    EXPECT_TRUE(next.acquire());
}

TEST(SingleInstance, SecondProgramEndsAtOnceWithCodeZero)
{
    TempFolder runtime;
    SingleInstance running(QString::fromStdString(runtime.path()));
    ASSERT_TRUE(running.acquire());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime.path()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(runtime.path()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(DESKPANEL_PATH), {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    // It never got as far as reading or writing any profile.
    EXPECT_EQ(runtime.entries(), std::vector<std::string>{"PreventSecondInstance.lock"});
}

class ClickTarget : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

void click(QWidget& w)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(&w, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)), Qt::LeftButton,
                        Qt::NoButton, {});
    QApplication::sendEvent(&w, &release);
}

TEST(ClickThroughGuard, DropsOnlyTheClickRightAfterADialog)
{
    struct Case {
        const char* name;
        std::uint32_t elapsedMs;
        bool keyFirst;
        int pressesSeen; // of two clicks
    };
    const Case cases[] = {
        {"click at once", 0, false, 1},
        {"click at the limit", ClickThroughGuard::ExpiryMs, false, 1},
        {"click later", ClickThroughGuard::ExpiryMs + 1, false, 2},
        {"key pressed first", 5, true, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock clock;
        ClickThroughGuard guard(clock);
        ClickTarget target;
        qApp->installEventFilter(&guard);
        guard.arm();
        clock.advance(c.elapsedMs);
        if (c.keyFirst) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, {});
            QApplication::sendEvent(&target, &key);
        }
        click(target);
        click(target);
        qApp->removeEventFilter(&guard);
        EXPECT_EQ(target.presses, c.pressesSeen);
    }
}

} // namespace
} // namespace deskpanel::test
