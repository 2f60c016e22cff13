// The Files commands, Exit and Uninstall with their prompts: a cancelled or failed save
// stops the command that asked for it, and nothing of the project is lost.
#include "app/ProjectCommands.h"
#include "app/DeskPanelApp.h"
#include "core/model/ChannelListener.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/ProjectFileReader.h"
#include "core/persistence/RecentFileList.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace deskpanel::test {
namespace {

using Kind = ScriptedOperator::Kind;

class RecordingWindow : public CommandWindow {
public:
    void showProject() override { ++shown; }
    void storePlacement() override { ++placements; }
    void closeForGood() override { ++closed; }
    void startDetachedLater(const std::string& program, int delayMs) override
    {
        started.emplace_back(program, delayMs);
        closedWhenStarted = closed;
    }

    int shown = 0;
    int placements = 0;
    int closed = 0;
    int closedWhenStarted = -1;
    std::vector<std::pair<std::string, int>> started;
};

class ReplacedListener : public ChannelListener {
public:
    void projectReplaced() override { ++replaced; }
    int replaced = 0;
};

class ProjectCommandsTest : public ::testing::Test {
protected:
    ProjectCommandsTest() { app.channels().addListener(&listener); }
    ~ProjectCommandsTest() override { app.channels().removeListener(&listener); }

    ProfileLocations locations() const
    {
        ProfileLocations at;
        at.settingsFile = folder.file("settings.ini");
        at.windowProfile = folder.file("DeskPanel.INI");
        at.installationRecord = folder.file("record.ini");
        at.programFolder = folder.file("program");
        return at;
    }
    void storeScene(const std::string& name)
    {
        Scene scene;
        scene.name = name;
        scene.settings = app.project().snapshotSettings();
        scene.channelNames = app.project().channelNames();
        app.project().scenes.append(scene);
    }
    // A project that has a file, which can no longer be written.
    void projectThatCannotBeSaved()
    {
        storeScene("Act 1");
        app.project().projectPath = folder.file("gone/show.vpf");
        app.project().setProjectName("show.vpf");
        app.project().hasFile = true;
    }
    std::string missingFolderMessage() const { return "Cannot open file " + folder.file("gone/show.vpf"); }

    TempFolder folder;
    ScriptedOperator op;
    ScriptedFileDialogs fileDialogs;
    DeskPanelApp app{LinkPorts{0, 0}, op};
    RecordingWindow window;
    ReplacedListener listener;
    ProjectCommands commands{app, fileDialogs, locations(), window};
};

TEST_F(ProjectCommandsTest, ExitAnswers)
{
    struct Case {
        const char* name;
        Decision answer;
        std::optional<std::string> saveAsPath; // the Save As dialog's answer
        bool ends;
        std::size_t saveAsDialogs;
    };
    const Case cases[] = {
        {"Cancel keeps running with nothing saved", Decision::Cancel, std::nullopt, false, 0},
        {"Yes on a never saved project, Save As cancelled", Decision::Yes, std::nullopt, false, 1},
        {"Yes, saved under a name", Decision::Yes, "saved.vpf", true, 1},
        {"No ends without saving", Decision::No, std::nullopt, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        op.answers = {c.answer};
        fileDialogs.requests.clear();
        fileDialogs.answers = {c.saveAsPath ? std::optional(folder.file(*c.saveAsPath)) : std::nullopt};
        window.closed = 0;
        window.placements = 0;

        EXPECT_EQ(commands.exit(), c.ends);
        EXPECT_EQ(op.textsOf(Kind::DecideThreeWay).back(), ProjectCommands::ExitQuestion);
        EXPECT_EQ(fileDialogs.requests.size(), c.saveAsDialogs);
        EXPECT_EQ(window.closed, c.ends ? 1 : 0);
        EXPECT_EQ(window.placements, c.ends ? 1 : 0);
        if (c.saveAsPath) {
            EXPECT_TRUE(std::filesystem::exists(folder.file(*c.saveAsPath)));
        }
    }
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"saved.vpf", "settings.ini"}));
}

// What Exit does besides asking: it stops the timers that send, save and redraw, and puts
// the project on the recent list; Save As pressed in its box saves without answering it.
TEST_F(ProjectCommandsTest, ExitStopsTheTimersAndListsTheProject)
{
    const TimerId stopped[] = {TimerId::Poll, TimerId::OfflineCheck, TimerId::Autosave, TimerId::Refresh};
    struct Case {
        const char* name;
        bool saveAsInTheBox;
        Decision answer;
        const char* listed; // the newest recent entry afterwards
        bool ends;
    };
    const Case cases[] = {
        {"Cancel after Save As in the box keeps running", true, Decision::Cancel, "named.vpf", false},
        {"No ends and lists the project", false, Decision::No, "show.vpf", true},
        {"Save As in the box, then No", true, Decision::No, "renamed.vpf", true},
    };
    writeText(folder.file("show.vpf"), ""); // the recent list keeps only files that are there
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        storeScene(c.name);
        app.project().projectPath = folder.file("show.vpf");
        app.project().setProjectName("show.vpf");
        for (TimerId id : stopped)
            app.timers().start(id, 100000);
        op.clear();
        op.answers = {c.answer};
        op.saveAsFromThreeWay = c.saveAsInTheBox;
        fileDialogs.requests.clear();
        fileDialogs.answers = {folder.file(c.listed)};
        window.closed = 0;

        EXPECT_EQ(commands.exit(), c.ends);
        EXPECT_EQ(window.closed, c.ends ? 1 : 0);
        ASSERT_FALSE(commands.recent().entries().empty());
        EXPECT_EQ(commands.recent().entries().front(), folder.file(c.listed));
        for (TimerId id : stopped)
            EXPECT_EQ(app.timers().isRunning(id), !c.ends) << static_cast<int>(id);
        EXPECT_EQ(fileDialogs.requests.size(), c.saveAsInTheBox ? 1u : 0u);
        if (c.saveAsInTheBox) {
            // The project saved under its new name holds the scene stored for this case.
            EXPECT_EQ(app.project().projectPath, folder.file(c.listed));
            Project read;
            ScriptedOperator quiet;
            FakeClock clock;
            FakeTimers timers{clock};
            ProjectFileReader reader(read, quiet, timers);
            FileSource source(folder.file(c.listed));
            ASSERT_EQ(reader.read(source), ProjectFileReader::Outcome::Complete);
            EXPECT_EQ(read.scenes.scene(read.scenes.count() - 1).name, c.name);
        }
    }
}

// A project named on the command line that cannot be opened leaves the new project's
// state with the path kept and no file.
TEST_F(ProjectCommandsTest, StartupFileThatCannotBeOpenedKeepsItsPathWithNoFile)
{
    std::filesystem::create_directory(folder.file("folder.vpf"));
    for (const std::string& path : {folder.file("missing.vpf"), folder.file("folder.vpf")}) {
        SCOPED_TRACE(path);
        op.clear();
        window.shown = 0;
        commands.openAtStart(path);
        EXPECT_EQ(op.textsOf(Kind::PlatformMessage), std::vector<std::string>{"Cannot open file " + path});
        EXPECT_EQ(app.project().projectPath, path);
        EXPECT_FALSE(app.project().hasFile);
        EXPECT_EQ(app.project().scenes.count(), 1);
        EXPECT_EQ(app.project().projectName, Project::NewProjectName);
        EXPECT_EQ(window.shown, 1);
        EXPECT_TRUE(commands.recent().entries().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(folder.file("missing.vpf")));
}

TEST_F(ProjectCommandsTest, SaveOnANewProjectRunsSaveAs)
{
    ASSERT_EQ(app.project().projectName, Project::NewProjectName);
    app.project().projectPath = folder.file("New Project.vpf");
    fileDialogs.answers = {std::nullopt};
    commands.save();
    ASSERT_EQ(fileDialogs.requests.size(), 1u);
    EXPECT_EQ(fileDialogs.requests[0].title, " Save As");
    EXPECT_FALSE(std::filesystem::exists(folder.file("New Project.vpf")));
}

// The remover deletes the running program's files: it may start only after Exit completed.
TEST_F(ProjectCommandsTest, UninstallStartsTheRemoverOnlyAfterACompletedExit)
{
    struct Case {
        const char* name;
        std::deque<Decision> answers; // "Are you sure?", then the exit question
        bool saveFails;
        bool removerStarts;
        bool recorded = true; // the installation record names /opt/deskpanel
        bool ownRemover = false; // the running program's folder holds a remover
    };
    const Case cases[] = {
        {"no installation record: Exit is never asked", {Decision::Yes}, false, false, false},
        {"No to Are you sure", {Decision::No}, false, false},
        {"Exit cancelled", {Decision::Yes, Decision::Cancel}, false, false},
        {"Exit Yes, Save As cancelled", {Decision::Yes, Decision::Yes}, false, false},
        {"Exit Yes, save failed", {Decision::Yes, Decision::Yes}, true, false},
        {"Exit No", {Decision::Yes, Decision::No}, false, true},
        {"this copy's own installation, not the recorded one", {Decision::Yes, Decision::No}, false, true, true, true},
        {"this copy's own installation, no record", {Decision::Yes, Decision::No}, false, true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(folder.file("record.ini"));
        std::filesystem::remove_all(folder.file("program"));
        if (c.recorded)
            writeText(folder.file("record.ini"), "[File Location]\r\nMain Exe File=/opt/deskpanel\r\n");
        if (c.ownRemover) {
            std::filesystem::create_directories(folder.file("program"));
            writeText(folder.file("program") + ProjectCommands::RemoverName, "");
        }
        op.clear();
        op.answers = c.answers;
        fileDialogs.answers = {std::nullopt};
        window.started.clear();
        window.closed = 0;
        if (c.saveFails)
            projectThatCannotBeSaved();
        commands.uninstall();
        if (c.removerStarts) {
            ASSERT_EQ(window.started.size(), 1u);
            const std::string installation = c.ownRemover ? folder.file("program") : "/opt/deskpanel";
            EXPECT_EQ(window.started[0], std::make_pair(installation + ProjectCommands::RemoverName, 100));
            // Armed before the window closes, so the program is still there to start it.
            EXPECT_EQ(window.closedWhenStarted, 0);
        } else {
            EXPECT_TRUE(window.started.empty());
        }
        EXPECT_EQ(window.closed, c.removerStarts ? 1 : 0);
        EXPECT_EQ(op.textsOf(Kind::DecideThreeWay).empty(), c.answers.size() < 2);
    }
}

// A save that fails stops every command that asked for it, as a cancelled Save As does.
TEST_F(ProjectCommandsTest, FailedSaveStopsTheCommandAndLosesNothing)
{
    writeText(folder.file("other.vpf"), "not a project");
    const std::pair<const char*, std::function<void()>> commandsAsked[] = {
        {"New Project", [this] { commands.newProject(); }},
        {"Open", [this] { commands.open(); }},
        {"Recent file", [this] { commands.openRecent(0); }},
        {"Exit", [this] { commands.exit(); }},
    };
    projectThatCannotBeSaved();
    commands.recent().add(folder.file("other.vpf"));
    for (const auto& [name, run] : commandsAsked) {
        SCOPED_TRACE(name);
        op.clear();
        op.answers = {Decision::Yes};
        fileDialogs.requests.clear();
        fileDialogs.answers = {folder.file("other.vpf")};
        run();
        EXPECT_EQ(op.textsOf(Kind::PlatformMessage), std::vector<std::string>{missingFolderMessage()});
        EXPECT_TRUE(fileDialogs.requests.empty()); // no Open dialog after the failure
        EXPECT_EQ(window.closed, 0);
        EXPECT_EQ(app.project().scenes.count(), 2);
        EXPECT_EQ(app.project().scenes.scene(1).name, "Act 1");
        EXPECT_EQ(app.project().projectPath, folder.file("gone/show.vpf"));
    }
}

TEST_F(ProjectCommandsTest, FailedSaveAsKeepsPathNameTitleAndRecentList)
{
    storeScene("Act 1");
    app.project().projectPath = folder.file("show.vpf");
    app.project().setProjectName("show.vpf");
    const std::string title = app.project().windowTitle();
    fileDialogs.answers = {folder.file("gone/elsewhere.vpf")};
    commands.saveAs();
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage),
              std::vector<std::string>{"Cannot open file " + folder.file("gone/elsewhere.vpf")});
    EXPECT_EQ(app.project().projectPath, folder.file("show.vpf"));
    EXPECT_EQ(app.project().projectName, "show.vpf");
    EXPECT_EQ(app.project().windowTitle(), title);
    EXPECT_TRUE(commands.recent().entries().empty());
}

// A recent entry goes the way of Open: the project takes the path only when the file opens.
TEST_F(ProjectCommandsTest, RecentEntryThatCannotBeOpenedKeepsTheProjectPath)
{
    // A real project file to list, written by the program itself.
    app.project().projectPath = folder.file("first.vpf");
    ASSERT_EQ(commands.files().writeFile(folder.file("first.vpf")), ProjectFiles::SaveOutcome::Saved);
    ASSERT_EQ(commands.files().writeFile(folder.file("second.vpf")), ProjectFiles::SaveOutcome::Saved);
    commands.recent().add(folder.file("first.vpf"));
    commands.recent().add(folder.file("second.vpf"));
    std::filesystem::remove(folder.file("second.vpf"));

    op.answers = {Decision::No};
    commands.openRecent(0); // second.vpf, gone
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage),
              std::vector<std::string>{"Cannot open file " + folder.file("second.vpf")});
    EXPECT_EQ(app.project().projectPath, folder.file("first.vpf"));

    op.answers = {Decision::No};
    commands.openRecent(1); // first.vpf
    EXPECT_EQ(app.project().projectPath, folder.file("first.vpf"));
    EXPECT_EQ(app.project().projectName, "first.vpf");
    EXPECT_EQ(op.textsOf(Kind::Decide),
              (std::vector<std::string>{ProjectCommands::OpenQuestion, ProjectCommands::OpenQuestion}));
}

// New Project resets everything at once: a stale link flag must not put an old member
// back into a group.
TEST_F(ProjectCommandsTest, NewProjectResetsModelLinksAndViews)
{
    storeScene("Act 1");
    app.project().activeSceneIndex = 1;
    app.channels().linkGroups().matrixCellPressed(3, 10);
    app.channels().linkGroups().matrixReleased();
    ASSERT_TRUE(app.channels().linkGroups().isInAnyGroup(10));
    app.project().projectPath = folder.file("show.vpf");
    app.project().setProjectName("show.vpf");

    op.answers = {Decision::No};
    commands.newProject();
    EXPECT_EQ(op.textsOf(Kind::Decide), std::vector<std::string>{ProjectCommands::NewProjectQuestion});
    EXPECT_EQ(app.project().scenes.count(), 1);
    EXPECT_EQ(app.project().activeSceneIndex, 0);
    EXPECT_EQ(app.project().projectName, Project::NewProjectName);
    EXPECT_EQ(app.project().projectPath, "New Project.vpf");
    EXPECT_FALSE(app.channels().linkGroups().isInAnyGroup(10));
    EXPECT_EQ(app.project().live[10].linkGroup, 0);
    EXPECT_EQ(listener.replaced, 1);
    EXPECT_EQ(window.shown, 1);
}

} // namespace
} // namespace deskpanel::test
