// Saving never freezes the window: the file is written on a worker while the UI thread
// keeps serving events; one write at a time; the autosave waits while a box is open.
#include "app/DeskPanelApp.h"
#include "app/ProjectCommands.h"
#include "app/QtBackgroundWork.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <QDialog>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace deskpanel::test {
namespace {

// Waits, off the UI thread, for something only the UI thread does; bounded.
bool waitFor(const std::atomic<bool>& flag)
{
    for (int i = 0; i < 5000 && !flag; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return flag;
}

// Runs the event loop until `ms` have passed by a precise timer started now; every timer
// of the program due before then has fired by the time it returns true.
bool passTime(int ms)
{
    bool passed = false;
    QTimer::singleShot(ms, Qt::PreciseTimer, [&] { passed = true; });
    return QTest::qWaitFor([&] { return passed; }, ms + 10000);
}

TEST(BackgroundWork, UiThreadKeepsServingEventsWhileTheWorkRuns)
{
    QtBackgroundWork work;
    std::atomic<bool> uiTicked{false};
    bool busyDuringWork = false;
    QTimer::singleShot(5, [&] {
        uiTicked = true;
        busyDuringWork = work.isBusy();
    });
    bool sawTick = false;
    work.run([&] { sawTick = waitFor(uiTicked); });
    EXPECT_TRUE(sawTick);
    EXPECT_TRUE(busyDuringWork);
    EXPECT_FALSE(work.isBusy());
}

TEST(BackgroundWork, WorkHandedOverDuringOtherWorkWaitsForIt)
{
    QtBackgroundWork work;
    std::vector<std::string> order;
    std::atomic<bool> secondAsked{false};
    QTimer::singleShot(5, [&] {
        secondAsked = true;
        work.run([&] { order.push_back("second"); });
    });
    work.run([&] {
        waitFor(secondAsked);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        order.push_back("first");
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 2; }, 10000));
    EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
}

class RecordingWindow : public CommandWindow {
public:
    void showProject() override {}
    void storePlacement() override {}
    void closeForGood() override
    {
        if (onClose)
            onClose();
    }
    void startDetachedLater(const std::string&, int) override {}
    std::function<void()> onClose;
};

// The commands over a real application, with scripted boxes and file dialogs.
class SaveInBackground : public ::testing::Test {
protected:
    ProfileLocations locations() const
    {
        ProfileLocations at;
        at.settingsFile = folder.file("settings.ini");
        return at;
    }

    TempFolder folder;
    ScriptedOperator op;
    ScriptedFileDialogs dialogs;
    DeskPanelApp app{LinkPorts{0, 0}, op};
    RecordingWindow window;
    ProjectCommands commands{app, dialogs, locations(), window};
};

TEST_F(SaveInBackground, AutosaveWaitsWhileAModalWindowIsOpen)
{
    app.project().projectPath = folder.file("show.vpf");
    app.project().setProjectName("show.vpf");
    app.project().hasFile = true;

    QDialog box;
    box.setModal(true);
    box.show();
    ASSERT_NE(QApplication::activeModalWidget(), nullptr);
    app.timers().start(TimerId::Autosave, 5);
    ASSERT_TRUE(passTime(60)); // the autosave has fallen due several times
    EXPECT_FALSE(std::filesystem::exists(folder.file("show.vpf")));

    box.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(folder.file("show.vpf")); }, 2000));
    app.timers().stop(TimerId::Autosave);
}

TEST_F(SaveInBackground, AutosaveNeverOpensASecondSaveAsOverTheFirst)
{
    app.project().projectPath = folder.file("New Project.vpf");

    // The autosave falls due while the first Save As is still open.
    app.timers().start(TimerId::Autosave, 1);
    dialogs.whileOpen = [] { EXPECT_TRUE(passTime(30)); };
    dialogs.answers = {folder.file("named.vpf")};
    commands.saveAs();
    app.timers().stop(TimerId::Autosave);
    EXPECT_EQ(dialogs.requests.size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(folder.file("named.vpf")));
}

TEST_F(SaveInBackground, ExitWaitsForASaveInFlight)
{
    Project& project = app.project();
    for (int n = 1; n <= 199; ++n) {
        Scene scene;
        scene.name = "Scene " + std::to_string(n);
        scene.settings = project.snapshotSettings();
        scene.channelNames = project.channelNames();
        project.scenes.append(scene);
    }
    project.projectPath = folder.file("big.vpf");
    project.setProjectName("big.vpf");
    project.hasFile = true;

    // The window closes (Exit answered No) while the file is still being written.
    bool writingWhenExitAsked = false;
    std::uintmax_t sizeWhenClosed = 0;
    window.onClose = [&] { sizeWhenClosed = std::filesystem::file_size(folder.file("big.vpf")); };
    QTimer::singleShot(0, [&] {
        writingWhenExitAsked = commands.isBusy();
        op.answers = {Decision::No};
        EXPECT_TRUE(commands.exit());
    });
    commands.save();
    ASSERT_TRUE(writingWhenExitAsked);
    EXPECT_EQ(sizeWhenClosed, std::filesystem::file_size(folder.file("big.vpf")));
    EXPECT_GT(sizeWhenClosed, 40u * 1000 * 1000);
}

} // namespace
} // namespace deskpanel::test
