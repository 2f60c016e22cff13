#include "core/records/ChannelNameImport.h"
#include "tests/core/scenes/SceneFixture.h"

namespace deskpanel::test {
namespace {

using Kind = ScriptedOperator::Kind;
using Sent = RecordingUnitSender::Sent;

class UndoOfBulkChanges : public SceneFixture {
protected:
    UndoOfBulkChanges() { channels.setOperator(&op); }
    ChannelSettings& live(int channel) { return project.live[static_cast<std::size_t>(channel)]; }
    void rename(int position, const std::string& name)
    {
        naming.answers.push_back(NameAndNotes{name, ""});
        scenes.renameScene(position);
    }
    void press(SwitchKind kind, int channel, int state)
    {
        channels.switchChanged(static_cast<int>(kind), channel, state);
    }
};

TEST_F(UndoOfBulkChanges, UndoOfANameImportPutsBackTextsAndNothingElse)
{
    store("A");
    scenes.recallScene(1);
    press(SwitchKind::Pad, 4, 1); // A is followed and now marked
    ChannelNameImport::apply({{2, "", "Kick", true, "", "new skin"}, {3, "", "Snare", false, "", ""}}, project,
                             channels);
    channels.singleGainMove(0, 20);
    const ChannelSettingsArray settings = project.live;
    units.sent.clear();

    channels.undo();
    EXPECT_EQ(project.channels[2].name, Project::defaultChannelName(2));
    EXPECT_EQ(project.channels[2].notes, "");
    EXPECT_EQ(project.channels[3].name, Project::defaultChannelName(3));
    EXPECT_EQ(units.sent, std::vector<Sent>{}) << "an import sent nothing, nor does its Undo";
    EXPECT_EQ(project.live, settings) << "the gain move made since stays";
    EXPECT_TRUE(project.scenes.isModified(1));
    EXPECT_EQ(project.followedSceneName, "A");

    channels.redo();
    EXPECT_EQ(project.channels[2].name, "Kick");
    EXPECT_EQ(project.channels[2].notes, "new skin");
    EXPECT_EQ(project.channels[3].name, "Snare");
    EXPECT_EQ(units.sent, std::vector<Sent>{});
}

TEST_F(UndoOfBulkChanges, UndoFollowsTheSceneItFollowedEvenAfterRenames)
{
    store("A");
    store("B");
    scenes.recallScene(1); // follows A
    scenes.recallScene(2); // follows B
    rename(1, "Z");
    rename(2, "A"); // B now carries the name A had
    channels.undo(); // back to following the first A, now Z
    EXPECT_EQ(project.followedSceneName, "Z");
    EXPECT_EQ(project.activeSceneIndex, 1);
    const ChannelSettingsArray sceneB = project.scenes.scene(2).settings;
    press(SwitchKind::Pol, 0, 1);
    EXPECT_EQ(project.scenes.scene(1).settings[0].polarity, 1) << "the followed scene takes the change";
    EXPECT_EQ(project.scenes.scene(2).settings, sceneB) << "the scene named A is not overwritten";

    // A followed scene that is gone is followed by no one.
    channels.redo();
    scenes.recallScene(0);
    project.prefs.promptSceneDelete = 0;
    scenes.recallScene(2);
    scenes.deleteScene(1);
    channels.undo(); // to the state after the Blank Scene... whose followed scene is gone
    channels.undo();
    EXPECT_EQ(project.followedSceneName, "");
}

TEST_F(UndoOfBulkChanges, UndoAndRedoOfARecallBeepUnderTheSceneLockOrAHeldFader)
{
    store("A");
    scenes.recallScene(1);
    const int undoable = channels.undoHistory().undoableCount();
    scenes.toggleSceneLock();
    channels.undo();
    EXPECT_EQ(channels.undoHistory().undoableCount(), undoable) << "the entry stays";
    EXPECT_EQ(op.shown.back().kind, Kind::Beep);
    scenes.toggleSceneLock();

    press(SwitchKind::Mute, 1, 1);
    channels.faderGrabbed(5);
    op.clear();
    channels.undo();
    EXPECT_EQ(live(1).mute, 1) << "no Undo while a fader is held";
    EXPECT_EQ(op.textsOf(Kind::Beep).size(), 1u);
    channels.faderReleased(5);
    channels.undo(); // the grab's own entry
    channels.undo();
    EXPECT_EQ(live(1).mute, 0);
}

TEST_F(UndoOfBulkChanges, UndoOfARecallPutsBackWhatItChangedWithTheSafesItHad)
{
    live(0) = {30, 30, 0, 0, 0, 0, 1, 2, 1};
    live(1) = {40, 45, 0, 0, 0, 0, 1, 2, 1};
    store("A");
    live(1).gainPosition = 20; // live gain differs from its reference
    for (const bool safesClearedBeforeUndo : {false, true}) {
        SCOPED_TRACE(safesClearedBeforeUndo);
        project.recallSafes.set(1, SafeFlag::Gain, true);
        const ChannelSettings before = live(1);
        scenes.recallScene(1);
        EXPECT_EQ(live(1).gainPosition, 20);
        if (safesClearedBeforeUndo)
            project.recallSafes.clear();
        channels.undo();
        EXPECT_EQ(live(1), before) << "the reference the recall moved comes back, the kept gain stays";
    }
}

TEST_F(UndoOfBulkChanges, UndoAndRedoActOnlyOnTheEntryTheir48VQuestionNamed)
{
    channels.setConfirmPhantomOn(true);
    live(2).phantom48V = 1;
    scenes.recallScene(0); // its Undo switches 48 V on again, and asks
    // A change made while the question is open: the entry asked about is no longer the newest.
    op.whileOpen = [this] { press(SwitchKind::Pad, 6, 1); };
    channels.undo();
    EXPECT_EQ(live(2).phantom48V, 0) << "the answer was about another entry";
    EXPECT_EQ(live(6).pad, 1);
    EXPECT_EQ(op.textsOf(Kind::Beep).size(), 1u);

    channels.undo(); // the pad
    channels.undo(); // the recall of the Blank Scene, asked again and answered Yes
    EXPECT_EQ(live(2).phantom48V, 1);
    channels.redo();
    op.clear();
    op.whileOpen = [this] { press(SwitchKind::Pol, 7, 1); }; // ends redo
    channels.undo();
    channels.redo();
    EXPECT_EQ(live(2).phantom48V, 0);
    EXPECT_FALSE(channels.canRedo());
}

TEST_F(UndoOfBulkChanges, RenamingAUnitOrALinkGroupEndsRedo)
{
    for (const auto& renameSomething : std::vector<std::function<void()>>{
             [this] { channels.setUnitText(1, "Stage left", ""); },
             [this] { channels.linkGroups().setGroupText(2, "Drums", ""); },
         }) {
        press(SwitchKind::Pad, 0, 1);
        channels.undo();
        ASSERT_TRUE(channels.canRedo());
        renameSomething();
        EXPECT_FALSE(channels.canRedo());
    }
}

} // namespace
} // namespace deskpanel::test
