#include "tests/core/scenes/SceneFixture.h"

using namespace deskpanel;
using namespace deskpanel::test;

using Kind = ScriptedOperator::Kind;

namespace {

class SceneEdits : public SceneFixture {
protected:
    void SetUp() override
    {
        project.setProjectName("gig.vpf");
        for (int n = 1; n <= 5; ++n) {
            project.live[0].gainPosition = n;
            store("S" + std::to_string(n), "n" + std::to_string(n));
        }
    }
    int gainOf(int position) const { return project.scenes.scene(position).settings[0].gainPosition; }
};

} // namespace

TEST_F(SceneEdits, DeletingTheActiveSceneIsRefusedBeforeAnyQuestion)
{
    project.prefs.promptSceneDelete = 1;
    scenes.deleteScene(0); // the Blank Scene is active and selected
    ASSERT_EQ(op.shown.size(), 1u);
    EXPECT_EQ(op.shown[0].kind, Kind::Message);
    EXPECT_EQ(op.shown[0].text, "This is an Active Scene: it cannot be deleted.");

    scenes.recallScene(2);
    op.clear();
    scenes.deleteScene(2);
    EXPECT_EQ(op.textsOf(Kind::Message), std::vector<std::string>{SceneOperations::ActiveSceneText});
    EXPECT_EQ(project.scenes.count(), 6);
}

TEST_F(SceneEdits, DeletingScene3WhileScene5IsActiveKeepsTheSameSceneActive)
{
    scenes.recallScene(5);
    scenes.deleteScene(3);
    EXPECT_EQ(names(), (std::vector<std::string>{"S1", "S2", "S4", "S5"}));
    EXPECT_EQ(project.activeSceneIndex, 4);
    EXPECT_EQ(label(), "Active Scene: 004");
    EXPECT_EQ(project.scenes.displayLine(4), "  004 S5");
    EXPECT_EQ(gainOf(3), 4);
    EXPECT_EQ(list.selected, 2);
}

TEST_F(SceneEdits, DeleteAsksWhenThePreferenceIsOnAndBeepsForNothingSelected)
{
    project.prefs.promptSceneDelete = 1;
    scenes.recallScene(1);
    op.answers = {Decision::No};
    scenes.deleteScene(3);
    EXPECT_EQ(project.scenes.count(), 6);

    op.clear();
    op.answers = {Decision::Yes};
    scenes.deleteScene(-1);
    EXPECT_EQ(op.shown.back().kind, Kind::Beep);
    op.answers = {Decision::Yes};
    scenes.recallScene(1);
    scenes.deleteScene(0); // the Blank Scene, not active now
    EXPECT_EQ(op.shown.back().kind, Kind::Beep);
    EXPECT_EQ(project.scenes.count(), 6);
}

TEST_F(SceneEdits, DeletingTheLastSceneLeavesOnlyTheBlankSceneSelected)
{
    for (int n = 5; n >= 1; --n)
        scenes.deleteScene(n);
    EXPECT_EQ(project.scenes.count(), 1);
    EXPECT_EQ(list.selected, 0);
}

TEST_F(SceneEdits, RenameTakesTheEnteredTextsAndKeepsTheMarker)
{
    scenes.recallScene(2);
    channels.switchChanged(static_cast<int>(SwitchKind::Pad), 0, 1);
    ASSERT_EQ(project.scenes.displayLine(2), "  002 S2*");

    naming.answers.push_back(NameAndNotes{std::string(130, 'r'), "new notes"});
    scenes.renameScene(2);
    EXPECT_EQ(naming.opened.back().heading, "Enter a new name for the 'S2' scene");
    EXPECT_EQ(naming.opened.back().initial.notes, "n2");
    EXPECT_EQ(project.scenes.scene(2).name, std::string(99, 'r'));
    EXPECT_EQ(project.scenes.scene(2).notes, "new notes");
    EXPECT_EQ(project.scenes.displayLine(2), "  002 " + std::string(99, 'r') + "*");
    EXPECT_EQ(project.activeSceneIndex, 2);
    EXPECT_EQ(list.selected, 2);

    // The Blank Scene keeps its name; Cancel changes nothing.
    naming.answers.push_back(NameAndNotes{"Other", ""});
    scenes.renameScene(0);
    EXPECT_EQ(naming.opened.back().heading, "Enter a new name for the 'Blank Scene' scene");
    EXPECT_EQ(project.scenes.displayLine(0), "  000 Blank Scene");
    scenes.renameScene(3);
    EXPECT_EQ(project.scenes.scene(3).name, "S3");
}

TEST_F(SceneEdits, DragMovesOneStepAtATimeAndNeverTouchesTheBlankScene)
{
    scenes.dragStarted(1);
    scenes.draggedOver(0); // scene 1 upwards: nothing
    scenes.dragEnded();
    scenes.dragStarted(0);
    scenes.draggedOver(1); // the Blank Scene downwards: nothing
    scenes.dragEnded();
    EXPECT_FALSE(timers.isRunning(TimerId::SceneRenumber));
    EXPECT_EQ(names(), (std::vector<std::string>{"S1", "S2", "S3", "S4", "S5"}));

    scenes.dragStarted(2);
    scenes.draggedOver(4); // not a neighbour: ignored
    scenes.draggedOver(1);
    EXPECT_EQ(names(), (std::vector<std::string>{"S2", "S1", "S3", "S4", "S5"}));
    // Lines keep their numbers until the button is up and 500 ms have passed.
    EXPECT_EQ(project.scenes.displayLine(1), "  002 S2");
    scenes.dragEnded();
    timers.advance(499);
    EXPECT_EQ(project.scenes.displayLine(1), "  002 S2");
    timers.advance(1);
    EXPECT_EQ(project.scenes.displayLine(1), "  001 S2");
    EXPECT_EQ(project.scenes.displayLine(2), "  002 S1");
    EXPECT_EQ(gainOf(1), 2);
    EXPECT_TRUE(op.textsOf(Kind::Decide).empty());
}

TEST_F(SceneEdits, DragCarriesTheActiveSceneAlong)
{
    scenes.recallScene(2);
    scenes.dragStarted(4);
    EXPECT_EQ(list.scrolledTo, -1); // the list stays under the pointer
    scenes.draggedOver(3);
    scenes.draggedOver(2);
    scenes.draggedOver(1);
    EXPECT_EQ(names(), (std::vector<std::string>{"S4", "S1", "S2", "S3", "S5"}));
    EXPECT_EQ(project.activeSceneIndex, 3);
    EXPECT_EQ(label(), "Active Scene: 003");
}

TEST_F(SceneEdits, ReorderAnsweredNoRestoresOrderNamesAndNotes)
{
    project.prefs.promptSceneReorder = 1;
    scenes.recallScene(3);
    channels.switchChanged(static_cast<int>(SwitchKind::Mute), 0, 1); // marks and updates S3
    scenes.dragStarted(3);
    scenes.draggedOver(4);
    scenes.draggedOver(5);
    scenes.dragEnded();
    ASSERT_EQ(project.activeSceneIndex, 5);

    op.answers = {Decision::No};
    timers.advance(500);
    EXPECT_EQ(op.textsOf(Kind::Decide), std::vector<std::string>{"Are you sure?"});
    EXPECT_EQ(names(), (std::vector<std::string>{"S1", "S2", "S3", "S4", "S5"}));
    EXPECT_EQ(project.scenes.scene(4).notes, "n4");
    EXPECT_EQ(gainOf(4), 4);
    EXPECT_EQ(project.scenes.displayLine(3), "  003 S3*");
    EXPECT_EQ(project.scenes.scene(3).settings[0].mute, 1);
    EXPECT_EQ(project.activeSceneIndex, 3);
    EXPECT_EQ(label(), "Active Scene: 003");
}

TEST_F(SceneEdits, ReorderAnsweredYesKeepsTheNewOrder)
{
    project.prefs.promptSceneReorder = 1;
    scenes.dragStarted(1);
    scenes.draggedOver(2);
    scenes.dragEnded();
    op.answers = {Decision::Yes};
    timers.advance(500);
    EXPECT_EQ(names(), (std::vector<std::string>{"S2", "S1", "S3", "S4", "S5"}));
    EXPECT_EQ(project.scenes.displayLine(2), "  002 S1");
}

TEST_F(SceneEdits, ModifiedMarkerComesWithAChangeStaysThroughARecallAndGoesWithASave)
{
    scenes.recallScene(3);
    channels.singleGainMove(0, 40);
    EXPECT_EQ(project.scenes.displayLine(3), "  003 S3*");
    EXPECT_EQ(gainOf(3), 3); // a fader move marks without writing the snapshot

    scenes.recallScene(3);
    EXPECT_EQ(project.live[0].gainPosition, 3);
    EXPECT_EQ(project.scenes.displayLine(3), "  003 S3*");

    saveProject();
    EXPECT_EQ(project.scenes.displayLine(3), "  003 S3");
    EXPECT_EQ(list.selected, 3);
}

TEST_F(SceneEdits, NoMarkerWhileTheBlankSceneIsActive)
{
    channels.singleGainMove(0, 40);
    for (int p = 1; p < project.scenes.count(); ++p)
        EXPECT_FALSE(project.scenes.isModified(p));
}

TEST_F(SceneEdits, RenamingTheFollowedSceneEndsTheFollowing)
{
    scenes.recallScene(2);
    naming.answers.push_back(NameAndNotes{"Renamed", ""});
    scenes.renameScene(2);
    channels.switchChanged(static_cast<int>(SwitchKind::Pol), 0, 1);
    EXPECT_EQ(project.scenes.scene(2).settings[0].polarity, 0);
}

TEST_F(SceneEdits, LockRefusesEveryListActionAndRedrawsTheButtons)
{
    scenes.toggleSceneLock();
    EXPECT_TRUE(scenes.sceneLock());
    EXPECT_EQ(list.lockEvents, std::vector<bool>{true});
    scenes.recallScene(2);
    scenes.deleteScene(3);
    scenes.storeNewScene();
    scenes.renameScene(1);
    scenes.dragStarted(2);
    scenes.draggedOver(1);
    scenes.dragEnded();
    EXPECT_EQ(project.activeSceneIndex, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"S1", "S2", "S3", "S4", "S5"}));
    EXPECT_TRUE(op.shown.empty());

    ASSERT_TRUE(timers.isRunning(TimerId::SceneButtonRedraw));
    timers.advance(300);
    EXPECT_FALSE(timers.isRunning(TimerId::SceneButtonRedraw));
    EXPECT_EQ(list.lockEvents, (std::vector<bool>{true, true}));

    scenes.toggleSceneLock();
    scenes.recallScene(2);
    EXPECT_EQ(project.activeSceneIndex, 2);
}

TEST_F(SceneEdits, SceneDeletedWhileTheQuestionIsOpenIsFoundAgainByIdentity)
{
    // Timers run inside the box: here the renumbering after a drag falls due while the
    // delete question is open, and its own question, answered No, puts the old order
    // back. The delete must still take the scene it was asked about.
    project.prefs.promptSceneDelete = 1;
    project.prefs.promptSceneReorder = 1;
    scenes.dragStarted(1);
    scenes.draggedOver(2);
    scenes.dragEnded();
    ASSERT_EQ(names(), (std::vector<std::string>{"S2", "S1", "S3", "S4", "S5"}));
    op.whileOpen = [this] { timers.advance(500); };
    op.answers = {Decision::No, Decision::Yes}; // the re-order question, then the delete
    scenes.deleteScene(1); // "S2" is at position 1 when asked
    EXPECT_EQ(names(), (std::vector<std::string>{"S1", "S3", "S4", "S5"}));
}

TEST_F(SceneEdits, AnActiveIndexBeyondTheListNeverEndsTheProgram)
{
    // What a stale index (say, from a project read only in part) must not break: every
    // operation still does its work on the list and none marks or reads a scene that
    // is not there.
    project.activeSceneIndex = 40;
    scenes.dragStarted(1);
    scenes.draggedOver(2);
    scenes.dragEnded();
    EXPECT_EQ(names(), (std::vector<std::string>{"S2", "S1", "S3", "S4", "S5"}));
    timers.advance(SceneOperations::RenumberDelayMs);
    EXPECT_EQ(project.scenes.displayLine(1), "  001 S2");
    EXPECT_EQ(project.scenes.displayLine(2), "  002 S1");
    scenes.markActiveSceneModified();
    for (int p = 0; p < project.scenes.count(); ++p)
        EXPECT_FALSE(project.scenes.isModified(p)) << p;
    scenes.deleteScene(3);
    EXPECT_EQ(names(), (std::vector<std::string>{"S2", "S1", "S4", "S5"}));
    EXPECT_EQ(gainOf(3), 4);
    EXPECT_EQ(project.activeSceneIndex, 39);
    EXPECT_EQ(project.scenes.displayLine(40), "");
    EXPECT_EQ(project.scenes.displayText(-2), "");
    EXPECT_EQ(project.scenes.scene(99).name, "");
    EXPECT_FALSE(project.scenes.isModified(40));
}
