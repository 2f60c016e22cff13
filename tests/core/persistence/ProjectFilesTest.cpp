#include "core/persistence/ProjectFiles.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/ProjectFileReader.h"
#include "core/persistence/ProjectFileWriter.h"
#include "core/persistence/RecentFileList.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

class RecordingSceneListener : public SceneListListener {
public:
    void sceneLinesChanged() override { events.push_back("lines"); }
    void sceneSelected(int position) override { events.push_back("select " + std::to_string(position)); }
    void sceneListScrolled(int top) override { events.push_back("scroll " + std::to_string(top)); }
    void activeSceneChanged() override { events.push_back("active"); }
    std::vector<std::string> events;
};

class ProjectFilesTest : public ::testing::Test {
protected:
    ProjectFilesTest()
    {
        files.addListener(&listener);
        project.resetToNewProject(folder.path() + "/");
    }

    void addScene(const std::string& name)
    {
        Scene scene;
        scene.name = name;
        scene.settings = project.snapshotSettings();
        scene.channelNames = project.channelNames();
        project.scenes.append(scene);
    }

    TempFolder folder;
    std::string settings = folder.file("config/Veltara-RP8.ini");
    Project project;
    FakeClock clock;
    FakeTimers timers{clock};
    ScriptedOperator op;
    ScriptedFileDialogs dialogs;
    RecentFileList recent{settings, op};
    int resets = 0;
    ProjectFiles files{project, op, timers, dialogs, recent, settings, [this] {
                           ++resets;
                           project.resetAllChannelSettings();
                       }};
    RecordingSceneListener listener;
};

} // namespace

TEST_F(ProjectFilesTest, SavingANewProjectAsksForANameAndAsksAgainForNewProjectVpf)
{
    addScene("Intro");
    dialogs.answers = {folder.file("New Project.vpf"), folder.file("gig.vpf")};
    EXPECT_EQ(files.save(), ProjectFiles::SaveOutcome::Saved);

    ASSERT_EQ(dialogs.requests.size(), 2u);
    EXPECT_EQ(dialogs.requests[0].title, " Save As");
    EXPECT_EQ(dialogs.requests[0].filterName, "Veltara Project Files (*.vpf)");
    EXPECT_EQ(dialogs.requests[0].pattern, "*.vpf");
    EXPECT_EQ(dialogs.requests[0].defaultExtension, "vpf");
    EXPECT_TRUE(dialogs.requests[0].confirmOverwrite);
    EXPECT_EQ(dialogs.requests[1].startPath, folder.file("New Project.vpf")); // the last choice
    EXPECT_EQ(project.projectPath, folder.file("gig.vpf"));
    EXPECT_EQ(project.projectName, "gig.vpf");
    EXPECT_EQ(project.windowTitle(), " Veltara RP-8 - gig.vpf");
    EXPECT_TRUE(project.hasFile);
    EXPECT_EQ(readBytes(folder.file("gig.vpf")).size(), 118u + 222212u);
    EXPECT_EQ(recent.entries(), std::vector<std::string>{folder.file("gig.vpf")});
    EXPECT_FALSE(std::filesystem::exists(folder.file("New Project.vpf")));
}

TEST_F(ProjectFilesTest, CancelledSaveAsChangesNothing)
{
    EXPECT_EQ(files.saveAs(), ProjectFiles::SaveOutcome::Cancelled);
    EXPECT_EQ(project.projectName, "New Project");
    EXPECT_FALSE(project.hasFile);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{});
}

TEST_F(ProjectFilesTest, FailedSaveAsKeepsTheProjectWhereItWas)
{
    ASSERT_EQ(mkdir(folder.file("taken.vpf").c_str(), 0755), 0);
    dialogs.answers = {folder.file("taken.vpf")};
    EXPECT_EQ(files.saveAs(), ProjectFiles::SaveOutcome::Failed);
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage),
              std::vector<std::string>{"Cannot open file " + folder.file("taken.vpf")});
    EXPECT_EQ(project.projectPath, folder.file("New Project.vpf"));
    EXPECT_EQ(project.projectName, "New Project");
    EXPECT_FALSE(project.hasFile);
    EXPECT_TRUE(recent.entries().empty());
}

TEST_F(ProjectFilesTest, SaveGivesEverySceneTheCurrentChannelNamesAndClearsTheMarkers)
{
    addScene("Intro");
    addScene("Verse");
    project.scenes.setModified(2);
    project.activeSceneIndex = 2;
    project.channels[0].name = "Kick";
    project.projectPath = folder.file("gig.vpf");

    EXPECT_EQ(files.save(), ProjectFiles::SaveOutcome::Saved);
    EXPECT_TRUE(dialogs.requests.empty());
    EXPECT_EQ(project.scenes.scene(1).channelNames[0], "Kick");
    EXPECT_EQ(project.scenes.scene(2).channelNames[0], "Kick");
    EXPECT_FALSE(project.scenes.isModified(2));
    EXPECT_EQ(project.scenes.displayLine(2), "  002 Verse");
    EXPECT_EQ(listener.events, (std::vector<std::string>{"lines", "select 2"}));
    EXPECT_TRUE(project.hasFile);
}

TEST_F(ProjectFilesTest, OpenReadsTheFileThenResetsAndRemembersWhereItCameFrom)
{
    ASSERT_EQ(mkdir(folder.file("shows").c_str(), 0755), 0);
    Project other;
    other.channels[3].name = "Vocal";
    Scene loud;
    loud.name = "Loud";
    loud.settings = other.snapshotSettings();
    loud.settings[3].gainPosition = 0;
    other.scenes.append(loud);
    other.scenes.append(loud);
    const std::string path = folder.file("shows/gig.vpf");
    ASSERT_EQ(ProjectFileWriter::write(other, path), ProjectFileWriter::Result::Saved);

    project.followedSceneName = "Loud";
    project.sceneFollowing = true;
    project.activeSceneIndex = 0;
    EXPECT_TRUE(files.open(path));

    EXPECT_EQ(resets, 1);
    EXPECT_EQ(project.scenes.count(), 3);
    EXPECT_EQ(project.scenes.scene(2).settings[3].gainPosition, 0);
    EXPECT_EQ(project.live[3].gainPosition, 72); // the Blank Scene's state after opening
    EXPECT_EQ(project.channels[3].name, "Vocal");
    EXPECT_EQ(project.projectPath, path);
    EXPECT_EQ(project.windowTitle(), " Veltara RP-8 - gig.vpf");
    EXPECT_TRUE(project.hasFile);
    EXPECT_EQ(project.activeSceneName, "  000 Blank Scene");
    EXPECT_EQ(project.followedSceneName, "");
    EXPECT_EQ(readLastUsedDirectory(settings), folder.file("shows/"));
    EXPECT_EQ(recent.entries(), std::vector<std::string>{path});
    EXPECT_EQ(listener.events, (std::vector<std::string>{"lines", "active", "select 0", "scroll 0"}));
}

TEST_F(ProjectFilesTest, OpenOfAFileThatCannotBeOpenedChangesNothing)
{
    addScene("Kept");
    const std::string path = folder.file("missing.vpf");
    EXPECT_FALSE(files.open(path));
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage),
              std::vector<std::string>{"Cannot open file " + path});
    EXPECT_EQ(project.scenes.count(), 2);
    EXPECT_EQ(project.projectPath, folder.file("New Project.vpf"));
    EXPECT_EQ(resets, 0);
}

TEST_F(ProjectFilesTest, NamedPipeOrFolderGivenAsProjectIsRefusedWithoutWaiting)
{
    const std::string pipe = folder.file("pipe.vpf");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_FALSE(files.open(pipe)); // no writer ever opens the pipe: a blocking open would hang here
    const std::string subfolder = folder.file("folder.vpf");
    ASSERT_EQ(::mkdir(subfolder.c_str(), 0700), 0);
    EXPECT_FALSE(files.open(subfolder));
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage),
              (std::vector<std::string>{"Cannot open file " + pipe, "Cannot open file " + subfolder}));
    EXPECT_EQ(resets, 0);
}

TEST_F(ProjectFilesTest, ShortFileNameIsABadFileButItsScenesStay)
{
    Project other;
    Scene scene;
    scene.name = "Only";
    other.scenes.append(scene);
    const std::string path = folder.file("a.v");
    ASSERT_EQ(ProjectFileWriter::write(other, path), ProjectFileWriter::Result::Saved);

    EXPECT_FALSE(files.open(path));
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage), std::vector<std::string>{"Bad file"});
    EXPECT_EQ(project.scenes.count(), 2);
    EXPECT_FALSE(project.hasFile);
    EXPECT_EQ(readLastUsedDirectory(settings), "");
    EXPECT_TRUE(recent.entries().empty());
}

// "ä.v" is three characters in four bytes: a name too short, so "Bad file".
TEST_F(ProjectFilesTest, AFailedOpenLeavesTheBlankSceneActive)
{
    for (const char* name : {"One", "Two", "Three"})
        addScene(name);
    project.activeSceneIndex = 3;
    project.activeSceneName = "Three";
    Project other;
    Scene scene;
    scene.name = "Only";
    other.scenes.append(scene);
    const std::string path = folder.file("\xC3\xA4.v");
    ASSERT_EQ(ProjectFileWriter::write(other, path), ProjectFileWriter::Result::Saved);

    EXPECT_FALSE(files.open(path));
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::PlatformMessage), std::vector<std::string>{"Bad file"});
    EXPECT_EQ(project.scenes.count(), 2);
    EXPECT_EQ(project.activeSceneIndex, 0);
    EXPECT_EQ(project.activeSceneName, SceneList::BlankSceneText);
}

TEST_F(ProjectFilesTest, AutosaveWritesTheFileAndNeverNestsInsideAnOpenDialog)
{
    project.projectPath = folder.file("gig.vpf");
    timers.start(TimerId::Autosave, 60000);
    timers.advance(60000);
    EXPECT_EQ(readBytes(folder.file("gig.vpf")).size(), 118u);

    // A new project's autosave asks for a name; the next autosave falls due while that
    // dialog is open and must not open a second one.
    project.projectPath = folder.file("New Project.vpf");
    dialogs.whileOpen = [this] { timers.advance(60000); };
    timers.advance(60000);
    EXPECT_EQ(dialogs.requests.size(), 1u);
}

namespace {

// Work that lets the operator act "while the file is being written", then writes it.
class InterleavedWork : public BackgroundWork {
public:
    void run(const std::function<void()>& work) override
    {
        if (during)
            during();
        work();
    }
    void waitUntilIdle() override {}
    bool isBusy() const override { return false; }
    std::function<void()> during;
};

} // namespace

TEST_F(ProjectFilesTest, ChangesMadeWhileTheFileIsWrittenKeepTheirMarker)
{
    addScene("Intro");
    addScene("Finale");
    project.scenes.setModified(1);
    project.hasFile = true;
    project.projectPath = folder.file("gig.vpf");
    InterleavedWork work;
    files.setBackgroundWork(&work);

    // Scene 2 is changed after the copy was taken: the file does not hold that change.
    work.during = [this] {
        project.scenes.setModified(2);
        project.scenes.scene(2).name = "Changed meanwhile";
    };
    EXPECT_EQ(files.save(), ProjectFiles::SaveOutcome::Saved);
    EXPECT_FALSE(project.scenes.isModified(1));
    EXPECT_TRUE(project.scenes.isModified(2));
    Project read;
    FileSource source(folder.file("gig.vpf"));
    ScriptedOperator quiet;
    ProjectFileReader(read, quiet, timers).read(source);
    EXPECT_EQ(read.scenes.scene(2).name, "Finale");

    // A failed write puts the markers back.
    project.projectPath = folder.file("gone/gig.vpf");
    work.during = nullptr;
    EXPECT_EQ(files.save(), ProjectFiles::SaveOutcome::Failed);
    EXPECT_TRUE(project.scenes.isModified(2));
    files.setBackgroundWork(nullptr);
}
