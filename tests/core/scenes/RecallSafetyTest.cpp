#include "core/model/LiveState.h"
#include "tests/core/scenes/SceneFixture.h"
#include "tests/support/ScriptedChangeList.h"

using namespace deskpanel;
using namespace deskpanel::test;
using Sent = RecordingUnitSender::Sent;
using Kind = ScriptedOperator::Kind;

namespace {

std::vector<Sent> sentTo(const std::vector<Sent>& sent, int unit, int input)
{
    std::vector<Sent> out;
    for (const Sent& s : sent)
        if (s.unit == unit && s.input == input)
            out.push_back(s);
    return out;
}

// Live: gain position 30 (50 dB), everything off. The scene: position 10 (70 dB) and
// every switch on, in link group 2 with its neighbour.
const ChannelSettings LiveSettings{30, 30, 0, 0, 0, 0, 0, 0, 0};
const ChannelSettings SceneSettings{10, 10, 1, 1, 1, 1, 1, 2, 1};

class RecallSafetyTest : public SceneFixture {
protected:
    void SetUp() override { project.setProjectName("gig.vpf"); }

    // Scene 1 holds SceneSettings on channels 0, 1 (unit 1) and 8 (unit 2, not present).
    void storeScene()
    {
        for (int c : {0, 1, 8})
            project.live[static_cast<std::size_t>(c)] = SceneSettings;
        store("Show");
        for (int c : {0, 1, 8})
            project.live[static_cast<std::size_t>(c)] = LiveSettings;
    }
};

} // namespace

TEST_F(RecallSafetyTest, ARecallLeavesEverySafeSettingAsItIsLiveAndSendsNothingForIt)
{
    storeScene();
    struct Row {
        const char* what;
        int channel;
        SafeFlags safe;
        std::vector<Sent> sent; // to the channel's unit and input
        ChannelSettings after;
    };
    const Sent pol{"Pol", 1, 1, 1}, pad{"Pad", 1, 1, 1}, phantom{"48v", 1, 1, 1}, mute{"Mute", 1, 1, 1},
        link{"Link", 1, 1, 1}, gain{"Gain", 70, 1, 1};
    const auto flag = [](SafeFlag f) { return static_cast<SafeFlags>(f); };
    const std::vector<Row> rows{
        {"no safes", 0, 0, {pol, pad, phantom, mute, link, gain}, SceneSettings},
        {"gain", 0, flag(SafeFlag::Gain), {pol, pad, phantom, mute, link}, {30, 30, 1, 1, 1, 1, 1, 2, 1}},
        {"48 V", 0, flag(SafeFlag::Phantom48V), {pol, pad, mute, link, gain}, {10, 10, 1, 1, 0, 1, 1, 2, 1}},
        {"pad", 0, flag(SafeFlag::Pad), {pol, phantom, mute, link, gain}, {10, 10, 1, 0, 1, 1, 1, 2, 1}},
        {"polarity", 0, flag(SafeFlag::Polarity), {pad, phantom, mute, link, gain}, {10, 10, 0, 1, 1, 1, 1, 2, 1}},
        {"mute, joined to a group",
         0,
         flag(SafeFlag::Mute),
         {pol, pad, phantom, link, gain},
         {10, 10, 1, 1, 1, 0, 1, 2, 1}},
        {"all five", 0, AllSafeFlags, {link}, {30, 30, 0, 0, 0, 0, 1, 2, 1}},
        {"all five, unit not present", 8, AllSafeFlags, {}, {30, 30, 0, 0, 0, 0, 1, 2, 1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        for (int c : {0, 1, 8})
            project.live[static_cast<std::size_t>(c)] = LiveSettings;
        project.recallSafes.clear();
        project.recallSafes.set(row.channel, row.safe);
        units.sent.clear();

        scenes.recallScene(1);

        const std::vector<Sent> whole{pol, pad, phantom, mute, link, gain};
        EXPECT_EQ(sentTo(units.sent, 1, 1), row.channel == 0 ? row.sent : whole);
        EXPECT_EQ(project.live[static_cast<std::size_t>(row.channel)], row.after);
        // The neighbour is never safe here: it takes the scene whole, and both are linked.
        EXPECT_EQ(project.live[1], SceneSettings);
        EXPECT_TRUE(channels.linkGroups().membership().isMember(row.channel, 2));
        EXPECT_EQ(sentTo(units.sent, 2, 1), std::vector<Sent>{});
    }
    // A gain-safe member moves with its group from the gain it kept.
    EXPECT_EQ(channels.linkedSet(0).members, (std::vector<int>{0, 1, 8}));
}

TEST_F(RecallSafetyTest, TheBlankSceneKeepsSafeSettingsAndStartUpResetsIgnoreThem)
{
    project.live[0] = {20, 20, 1, 1, 1, 1, 0, 0, 0};
    project.recallSafes.set(0, static_cast<SafeFlags>(SafeFlag::Gain) | static_cast<SafeFlags>(SafeFlag::Phantom48V));
    units.sent.clear();

    scenes.recallScene(0);
    EXPECT_EQ(sentTo(units.sent, 1, 1),
              (std::vector<Sent>{{"Link", 0, 1, 1}, {"Mute", 0, 1, 1}, {"Pad", 0, 1, 1}, {"Pol", 0, 1, 1}}));
    EXPECT_EQ(project.live[0], (ChannelSettings{20, 20, 0, 0, 1, 0, 0, 0, 0}));
    EXPECT_EQ(channels.overviewGainText(0), "+ 60 dB");

    // Timer 16, New Project and Open reset everything.
    channels.resetAllChannels();
    EXPECT_EQ(project.live[0], ChannelSettings{});
}

TEST_F(RecallSafetyTest, TheFollowedSceneKeepsItsStoredValueOfASafeSetting)
{
    storeScene();
    scenes.recallScene(1);
    project.recallSafes.set(0, SafeFlag::Phantom48V, true);
    channels.switchChanged(static_cast<int>(SwitchKind::Phantom48V), 0, 0);
    channels.switchChanged(static_cast<int>(SwitchKind::Pad), 0, 0);
    EXPECT_EQ(project.scenes.scene(1).settings[0].phantom48V, 1); // safe: the scene's value
    EXPECT_EQ(project.scenes.scene(1).settings[0].pad, 0); // followed as always
}

TEST_F(RecallSafetyTest, UndoPutsBackARecallAsARecallOfTheStateBeforeItAndRedoRepeatsIt)
{
    // Scene "Before" holds what is live before the recall, so its recall shows what the
    // undo must send.
    project.live[3] = {40, 40, 1, 0, 0, 1, 1, 4, 1};
    project.channels[3].name = "Snare";
    store("Before");
    scenes.recallScene(1);
    const std::vector<Sent> recallOfBefore = units.sent;
    const LiveState before = LiveState::of(project);
    storeScene();
    project.channels[3].name = "Other";
    store("After");
    project.channels[3].name = "Snare";
    // Back to the state "Before" holds, with the list's markers and followed scene.
    scenes.recallScene(1);
    project.scenes.setModified(2);
    channels.switchChanged(static_cast<int>(SwitchKind::Pol), 5, 1); // older, still undoable
    const LiveState ready = LiveState::of(project);

    units.sent.clear();
    scenes.recallScene(3);
    const LiveState recalled = LiveState::of(project);
    EXPECT_EQ(project.channels[3].name, "Other");
    units.sent.clear();
    timers.stop(TimerId::FullResend);

    channels.undo();
    // Same datagrams as a recall of that state, and timer 12 armed.
    std::vector<Sent> expected;
    for (const Sent& s : recallOfBefore)
        if (s.name != "fullResend")
            expected.push_back(s);
    expected[5 * 6] = {"Pol", 1, 1, 6}; // the later Pol change is part of the state put back
    EXPECT_EQ(units.sent, expected);
    EXPECT_TRUE(timers.isRunning(TimerId::FullResend));
    EXPECT_EQ(project.live, ready.settings);
    EXPECT_EQ(project.channels[3].name, "Snare");
    EXPECT_EQ(project.activeSceneIndex, 1);
    EXPECT_EQ(project.followedSceneName, "Before");
    EXPECT_TRUE(project.scenes.isModified(2));
    EXPECT_TRUE(project.sceneFollowing);

    channels.redo();
    EXPECT_EQ(project.live, recalled.settings);
    EXPECT_EQ(project.activeSceneIndex, 3);
    EXPECT_EQ(project.channels[3].name, "Other");
    channels.undo();
    EXPECT_EQ(project.activeSceneIndex, 1);
    channels.undo(); // the Pol change beneath it
    EXPECT_EQ(project.live[5].polarity, 0);
    EXPECT_EQ(project.live, before.settings);

    // Redo puts back the newest undone first; any new change ends redo.
    channels.redo();
    EXPECT_EQ(project.live[5].polarity, 1);
    channels.switchChanged(static_cast<int>(SwitchKind::Pad), 7, 1);
    EXPECT_FALSE(channels.canRedo());
}

TEST_F(RecallSafetyTest, UndoAfterARecallOfTheBlankSceneAndRedoOfAGainMove)
{
    storeScene();
    scenes.recallScene(1);
    const ChannelSettingsArray scene = project.live;
    scenes.recallScene(0);
    units.sent.clear();
    channels.undo();
    EXPECT_EQ(project.live, scene);
    EXPECT_EQ(project.activeSceneIndex, 1);
    EXPECT_EQ(sentTo(units.sent, 1, 1).size(), 6u);

    channels.faderGrabbed(4);
    channels.faderMoved(4, 50, false);
    channels.faderReleased(4);
    channels.undo();
    EXPECT_EQ(project.live[4].gainPosition, MaxGainPosition);
    units.sent.clear();
    channels.redo();
    EXPECT_EQ(project.live[4].gainPosition, 50);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 30, 1, 5}}));
    channels.undo(); // the redo recorded the position it replaced
    EXPECT_EQ(project.live[4].gainPosition, MaxGainPosition);
}

TEST_F(RecallSafetyTest, The48VGuardAsksBeforePhantomPowerGoesOnAndNeverForARecall)
{
    channels.setOperator(&op);
    project.channels[2].name = "Ribbon";
    const int phantom = static_cast<int>(SwitchKind::Phantom48V);

    // Off by default: nothing is asked.
    EXPECT_TRUE(channels.switchChanged(phantom, 2, 1));
    EXPECT_TRUE(op.shown.empty());
    channels.switchChanged(phantom, 2, 0);

    channels.setConfirmPhantomOn(true);
    op.answers = {Decision::No};
    units.sent.clear();
    EXPECT_FALSE(channels.switchChanged(phantom, 2, 1));
    EXPECT_EQ(op.textsOf(Kind::Decide), (std::vector<std::string>{"Switch 48 V on for Ribbon?"}));
    EXPECT_EQ(project.live[2].phantom48V, 0);
    EXPECT_TRUE(units.sent.empty());

    // Yes switches it on; a drag that already asked passes; switching off never asks.
    op.clear();
    EXPECT_TRUE(channels.switchChanged(phantom, 2, 1));
    EXPECT_TRUE(channels.switchChanged(phantom, 3, 1, ChannelControl::PhantomConfirmation::Given));
    EXPECT_TRUE(channels.switchChanged(phantom, 2, 0));
    EXPECT_EQ(op.textsOf(Kind::Decide).size(), 1u);
    EXPECT_EQ(units.sent.size(), 3u);

    // Undoing the switch-off would switch it on: asked, and No keeps the entry.
    op.clear();
    op.answers = {Decision::No};
    channels.undo();
    EXPECT_EQ(project.live[2].phantom48V, 0);
    EXPECT_EQ(op.textsOf(Kind::Decide).size(), 1u);
    channels.undo();
    EXPECT_EQ(project.live[2].phantom48V, 1);

    // A recall switching 48 V on asks nothing.
    project.live[2].phantom48V = 1;
    store("Phantom");
    project.live[2].phantom48V = 0;
    op.clear();
    scenes.recallScene(1);
    EXPECT_EQ(project.live[2].phantom48V, 1);
    EXPECT_TRUE(op.textsOf(Kind::Decide).empty());
}

TEST_F(RecallSafetyTest, ThePreviewReplacesTheRecallQuestionAndListsRedLinesFirstAndKeptLinesLast)
{
    project.channels[0].name = "Kick In";
    storeScene();
    project.live[5].phantom48V = 1; // the scene has it off
    project.recallSafes.set(1, SafeFlag::Phantom48V, true);
    project.prefs.promptRecallScene = 1;
    ScriptedChangeList preview;
    scenes.setChangeListDialog(&preview);
    scenes.setPreviewRecall(true);
    units.sent.clear();

    scenes.recallScene(1);
    EXPECT_TRUE(op.textsOf(Kind::Decide).empty()); // the preview instead of "Are you sure?"
    ASSERT_EQ(preview.shown.size(), 1u);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(project.activeSceneIndex, 0);
    const ChangeList& list = preview.shown[0];
    EXPECT_EQ(list.heading, "Recalling 'Show' changes these inputs:");
    EXPECT_EQ(list.acceptText, "&Recall");
    const std::string arrow = "\xE2\x86\x92";
    const std::vector<ChangeLine> expected{
        {ChangeLine::Kind::Warning, "1  Kick In  gain 50 " + arrow + " 70 dB, 48V off " + arrow + " ON, pad off " +
                                        arrow + " ON, pol off " + arrow + " ON, mute off " + arrow + " ON, group - " +
                                        arrow + " 2, link off " + arrow + " ON"},
        {ChangeLine::Kind::Warning, "9  Channel 9  gain 50 " + arrow + " 70 dB, 48V off " + arrow + " ON, pad off " +
                                        arrow + " ON, pol off " + arrow + " ON, mute off " + arrow + " ON, group - " +
                                        arrow + " 2, link off " + arrow + " ON"},
        {ChangeLine::Kind::Change, "2  Channel 2  gain 50 " + arrow + " 70 dB, pad off " + arrow + " ON, pol off " +
                                       arrow + " ON, mute off " + arrow + " ON, group - " + arrow + " 2, link off " +
                                       arrow + " ON"},
        {ChangeLine::Kind::Change, "6  Channel 6  48V ON " + arrow + " off"},
        {ChangeLine::Kind::Kept, "2  Channel 2  kept: 48V off"},
    };
    EXPECT_EQ(list.lines, expected);

    preview.answer = true;
    scenes.recallScene(1);
    EXPECT_EQ(project.activeSceneIndex, 1);
    EXPECT_EQ(project.live[1].phantom48V, 0);
}
