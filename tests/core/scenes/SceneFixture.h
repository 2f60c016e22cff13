#pragma once
#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "core/model/SceneListListener.h"
#include "core/model/SceneOperations.h"
#include "core/persistence/ProjectFiles.h"
#include "core/persistence/RecentFileList.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/RecordingUnitSender.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedNamingDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace deskpanel::test {

class RecordingSceneList : public SceneListListener {
public:
    void sceneLinesChanged() override { ++linesChanged; }
    void sceneSelected(int position) override { selected = position; }
    void sceneListScrolled(int top) override { scrolledTo = top; }
    void activeSceneChanged() override { ++activeChanged; }
    void sceneLockChanged(bool locked) override { lockEvents.push_back(locked); }

    int linesChanged = 0;
    int selected = -1;
    int scrolledTo = -1;
    int activeChanged = 0;
    std::vector<bool> lockEvents;
};

// The scene operations over a real channel control, with unit 1 present.
class SceneFixture : public ::testing::Test {
protected:
    SceneFixture()
    {
        units.present = {1};
        scenes.addListener(&list);
    }

    // Stores a scene through the New Scene dialog, answering its questions with Yes.
    void store(const std::string& name, const std::string& notes = "")
    {
        naming.answers.push_back(NameAndNotes{name, notes});
        const auto before = project.scenes.count();
        scenes.storeNewScene();
        ASSERT_EQ(project.scenes.count(), before + 1) << "storing " << name;
    }

    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (int p = 1; p < project.scenes.count(); ++p)
            out.push_back(project.scenes.scene(p).name);
        return out;
    }

    // Saves the project for real into a temporary folder.
    void saveProject()
    {
        ScriptedFileDialogs dialogs;
        RecentFileList recent(folder.file("settings.ini"), op);
        ProjectFiles files(project, op, timers, dialogs, recent, folder.file("settings.ini"), nullptr);
        files.addListener(&list);
        ASSERT_EQ(files.writeFile(folder.file("show.vpf")), ProjectFiles::SaveOutcome::Saved);
    }

    std::string label() const { return SceneList::activeLabel(project.activeSceneIndex); }

    TempFolder folder;
    Project project;
    RecordingUnitSender units;
    FakeClock clock;
    FakeTimers timers{clock};
    ScriptedOperator op;
    ScriptedNamingDialogs naming;
    int saveAsRuns = 0;
    RecordingSceneList list;
    SceneOperations scenes{project, channels, op, timers, naming, [this] { ++saveAsRuns; }};
    ChannelControl channels{project, units, timers, scenes};
};

} // namespace deskpanel::test
