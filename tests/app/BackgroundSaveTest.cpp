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
#include <optional>
#include <thread>

namespace deskpanel::test {
namespace {

using Kind = ScriptedOperator::Kind;

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

    // A project of `scenes` stored scenes that has a file, slow to write.
    void bigProjectWithFile(const std::string& name, int scenes)
    {
        Project& project = app.project();
        project.resetToNewProject(folder.path() + "/");
        for (int n = 1; n <= scenes; ++n) {
            Scene scene;
            scene.name = "Scene " + std::to_string(n);
            scene.settings = project.snapshotSettings();
            scene.channelNames = project.channelNames();
            project.scenes.append(scene);
        }
        project.projectPath = folder.file(name);
        project.setProjectName(name);
        project.hasFile = true;
    }

    TempFolder folder;
    ScriptedOperator op;
    ScriptedFileDialogs dialogs;
    DeskPanelApp app{LinkPorts{0, 0}, op};
    RecordingWindow window;
    ProjectCommands commands{app, dialogs, locations(), window};
};

TEST_F(SaveInBackground, AutosaveWaitsWhileAModalWindowIsOpenOrAnotherOperationRuns)
{
    app.project().projectPath = folder.file("show.vpf");
    app.project().setProjectName("show.vpf");
    app.project().hasFile = true;

    for (const bool modalWindow : {true, false}) {
        SCOPED_TRACE(modalWindow ? "a modal window" : "an operation holding the gate");
        std::filesystem::remove(folder.file("show.vpf"));
        QDialog box;
        std::optional<OperationGate::Hold> recall;
        if (modalWindow) {
            box.setModal(true);
            box.show();
            ASSERT_NE(QApplication::activeModalWidget(), nullptr);
        } else {
            recall = app.channels().gate().enter("Recall");
        }
        app.timers().start(TimerId::Autosave, 5);
        ASSERT_TRUE(passTime(60)); // the autosave has fallen due several times
        EXPECT_FALSE(std::filesystem::exists(folder.file("show.vpf")));

        box.hide();
        recall.reset();
        EXPECT_TRUE(QTest::qWaitFor([&] { return std::filesystem::exists(folder.file("show.vpf")); }, 2000));
        app.timers().stop(TimerId::Autosave);
        commands.files().waitForWrite();
    }
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
    bigProjectWithFile("big.vpf", 199);

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

// New, Open and a recent entry asked for while a file is written run once the save has
// ended, and the end of the save does not touch the project they brought.
TEST_F(SaveInBackground, CommandsThatReplaceTheProjectWaitForASaveInFlight)
{
    // A small real project to open.
    app.project().projectPath = folder.file("other.vpf");
    ASSERT_EQ(commands.files().writeFile(folder.file("other.vpf")), ProjectFiles::SaveOutcome::Saved);
    commands.recent().add(folder.file("other.vpf"));

    struct Case {
        const char* name;
        std::function<void()> run;
        std::string pathAfter; // empty: a new project
    };
    const Case cases[] = {
        {"New Project", [this] { commands.newProject(); }, ""},
        {"Open", [this] { commands.open(); }, folder.file("other.vpf")},
        {"Recent entry", [this] { commands.openRecent(0); }, folder.file("other.vpf")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bigProjectWithFile("big.vpf", 60);
        op.clear();
        op.answers = {Decision::No};
        dialogs.answers = {folder.file("other.vpf")};
        bool askedWhileWriting = false;
        bool busyAtTheQuestion = true;
        op.whileOpen = [&] { busyAtTheQuestion = commands.isBusy(); };
        QTimer::singleShot(0, [&] {
            askedWhileWriting = commands.isBusy();
            c.run();
        });
        commands.save();
        ASSERT_TRUE(askedWhileWriting);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !op.textsOf(Kind::Decide).empty(); }, 5000));
        EXPECT_FALSE(busyAtTheQuestion);
        EXPECT_EQ(app.project().scenes.count(), 1);
        if (c.pathAfter.empty()) {
            EXPECT_EQ(app.project().projectName, Project::NewProjectName);
            EXPECT_FALSE(app.project().hasFile);
        } else {
            EXPECT_EQ(app.project().projectPath, c.pathAfter);
            EXPECT_TRUE(app.project().hasFile);
        }
        EXPECT_GT(std::filesystem::file_size(folder.file("big.vpf")), 10u * 1000 * 1000);
    }
}

} // namespace
} // namespace deskpanel::test
