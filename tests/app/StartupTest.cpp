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

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

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

TEST(Startup, TheResetThreeSecondsLaterWaitsWhileAnotherOperationHoldsTheGate)
{
    FakeClock clock;
    FakeTimers timers(clock);
    RecordingSteps steps;
    StartupSequence startup(timers, steps);
    OperationGate gate;
    startup.setGate(&gate);
    startup.begin();
    auto recall = gate.enter("Recall"); // its box is open
    timers.advance(100 + 3000 + 500);
    EXPECT_EQ(steps.steps.back(), "show") << "not inside the recall";
    recall.reset();
    timers.advance(StartupSequence::GateRetryMs);
    EXPECT_EQ(steps.steps.back(), "reset") << "never dropped";
}

std::string outcomeName(SingleInstance::Outcome outcome)
{
    switch (outcome) {
    case SingleInstance::Outcome::Acquired: return "locked";
    case SingleInstance::Outcome::HeldByAnotherCopy: return "refused";
    case SingleInstance::Outcome::Failed: return "failed";
    }
    return "?";
}

// What another process finds: its outcome, then where it tried last, then the error.
std::vector<std::string> acquireInAnotherProcess(const QString& folder, const QString& temp = {})
{
    const std::string output =
        runInChild([&] {
            SingleInstance other(folder, temp);
            const std::string outcome = outcomeName(other.acquire());
            return outcome + "\n" + other.lockPath().toStdString() + "\n" + other.errorText().toStdString();
        }).output;
    std::vector<std::string> parts(3);
    std::size_t at = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t end = i < 2 ? output.find('\n', at) : std::string::npos;
        parts[i] = output.substr(at, end == std::string::npos ? std::string::npos : end - at);
        at = end == std::string::npos ? output.size() : end + 1;
    }
    return parts;
}

TEST(SingleInstance, SecondCopyIsRefusedAndALeftOverLockIsTakenOver)
{
    TempFolder folder;
    const QString at = QString::fromStdString(folder.path());
    {
        SingleInstance first(at);
        ASSERT_EQ(first.acquire(), SingleInstance::Outcome::Acquired);
        EXPECT_TRUE(first.lockPath().endsWith(QStringLiteral("PreventSecondInstance.lock")));
        EXPECT_EQ(acquireInAnotherProcess(at)[0], "refused");
    }
    // A copy that crashed leaves its lock file behind (the lock is never released).
    const ChildResult crashed = runInChild([&at] {
        auto* dying = new SingleInstance(at);
        return outcomeName(dying->acquire());
    });
    ASSERT_EQ(crashed.output, "locked");
    ASSERT_FALSE(folder.entries().empty());
    SingleInstance next(at);
    EXPECT_EQ(next.acquire(), SingleInstance::Outcome::Acquired);
}

// Only a live copy of this user ends a copy silently. Any other failure of the runtime
// folder moves the lock to a private folder of the user in the temporary folder; only
// when that fails too is the error reported (naming the folder) and the copy runs.
TEST(SingleInstance, OtherLockErrorsMoveTheLockToAPrivateTemporaryFolder)
{
    constexpr uid_t OtherUser = 4242;
    struct Case {
        const char* name;
        // Prepares the folders; returns the runtime folder to use.
        std::function<std::string(TempFolder& root, const std::string& fallback)> prepare;
        std::string outcome;
        bool inFallback; // where the lock is (or was last tried)
        bool asRootOnly = false; // needs to hand a file to another user
    };
    const Case cases[] = {
        {"a missing runtime folder", [](TempFolder& root, const std::string&) { return root.file("missing"); },
         "locked", true},
        {"a runtime folder that is a file",
         [](TempFolder& root, const std::string&) {
             writeText(root.file("file"), "x");
             return root.file("file");
         },
         "locked", true},
        {"another user's live lock in a shared folder",
         [](TempFolder& root, const std::string&) {
             std::filesystem::create_directory(root.file("shared"));
             return root.file("shared");
         },
         "locked", true, true},
        {"a live copy in the private folder", [](TempFolder& root, const std::string&) { return root.file("missing"); },
         "refused", true},
        {"the private folder is a file",
         [](TempFolder& root, const std::string& fallback) {
             writeText(fallback, "x");
             return root.file("missing");
         },
         "failed", false},
        {"the private folder is another user's",
         [](TempFolder& root, const std::string& fallback) {
             std::filesystem::create_directory(fallback);
             EXPECT_EQ(::chown(fallback.c_str(), OtherUser, OtherUser), 0);
             return root.file("missing");
         },
         "failed", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.asRootOnly && ::geteuid() != 0)
            continue;
        TempFolder root;
        std::filesystem::create_directory(root.file("tmp"));
        const QString temp = QString::fromStdString(root.file("tmp"));
        const std::string fallback = SingleInstance(QString(), temp).fallbackFolder().toStdString();
        EXPECT_EQ(fallback, root.file("tmp") + "/DeskPanel-" + std::to_string(::geteuid()));
        const QString runtime = QString::fromStdString(c.prepare(root, fallback));

        // The copy already running, where the case needs one.
        std::unique_ptr<SingleInstance> running;
        if (std::string(c.name).find("live") != std::string::npos) {
            running = std::make_unique<SingleInstance>(runtime, temp);
            ASSERT_EQ(running->acquire(), SingleInstance::Outcome::Acquired);
            if (c.asRootOnly) {
                ASSERT_EQ(::chown(running->lockPath().toLocal8Bit().constData(), OtherUser, OtherUser), 0);
            }
        }

        const auto found = acquireInAnotherProcess(runtime, temp);
        EXPECT_EQ(found[0], c.outcome);
        if (c.outcome != "failed") {
            EXPECT_EQ(found[1], (c.inFallback ? fallback : runtime.toStdString()) + "/PreventSecondInstance.lock");
            EXPECT_TRUE(found[2].empty()) << found[2];
            struct stat info {};
            ASSERT_EQ(::stat(fallback.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0700u);
        } else {
            EXPECT_NE(found[2].find(fallback), std::string::npos) << found[2];
        }
    }
}

TEST(SingleInstance, SecondProgramEndsAtOnceWithCodeZero)
{
    TempFolder runtime;
    SingleInstance running(QString::fromStdString(runtime.path()));
    ASSERT_EQ(running.acquire(), SingleInstance::Outcome::Acquired);

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
