#include "tests/core/scenes/SceneFixture.h"

using namespace deskpanel;
using namespace deskpanel::test;

using Sent = RecordingUnitSender::Sent;
using Kind = ScriptedOperator::Kind;

TEST_F(SceneFixture, FirstSceneOfAnUnnamedProjectOffersANameAndGoesOnWhateverTheAnswer)
{
    op.answers = {Decision::Yes};
    store("Intro", "soft start");
    EXPECT_EQ(op.textsOf(Kind::Decide), std::vector<std::string>{SceneOperations::UnnamedProjectQuestion});
    EXPECT_EQ(saveAsRuns, 1);

    // Only the first scene of a project still called "New Project" asks.
    store("Verse");
    EXPECT_EQ(op.textsOf(Kind::Decide).size(), 1u);

    project.scenes.clear();
    op.answers = {Decision::No};
    store("Again");
    EXPECT_EQ(saveAsRuns, 1);
    EXPECT_EQ(project.scenes.count(), 2);
}

TEST_F(SceneFixture, StoringTakesASnapshotAndFollowsTheNewSceneWithoutMakingItActive)
{
    project.live[3].gainPosition = 10;
    project.live[3].linkButton = 1;
    project.channels[3].name = "Vocal";
    store(std::string(120, 'x'), "notes");

    ASSERT_EQ(project.scenes.count(), 2);
    const Scene& scene = project.scenes.scene(1);
    EXPECT_EQ(scene.name, std::string(99, 'x'));
    EXPECT_EQ(project.scenes.displayLine(1), "  001 " + std::string(99, 'x'));
    EXPECT_EQ(scene.settings[3].gainPosition, 10);
    EXPECT_EQ(scene.settings[3].linkActive, 1);
    EXPECT_EQ(scene.channelNames[3], "Vocal");
    EXPECT_EQ(naming.opened.back().heading, "");
    EXPECT_EQ(project.activeSceneIndex, 0);
    EXPECT_EQ(project.followedSceneName, std::string(99, 'x'));
    EXPECT_TRUE(project.sceneFollowing);
    EXPECT_EQ(list.selected, 1);
}

TEST_F(SceneFixture, StoreStopsOnNoOrCancel)
{
    project.setProjectName("gig.vpf");
    project.prefs.promptNewScene = 1;
    op.answers = {Decision::No};
    scenes.storeNewScene();
    EXPECT_TRUE(naming.opened.empty());

    op.answers = {Decision::Yes};
    scenes.storeNewScene(); // the dialog is cancelled
    EXPECT_EQ(naming.opened.size(), 1u);
    EXPECT_EQ(project.scenes.count(), 1);
    EXPECT_FALSE(project.sceneFollowing);
}

TEST_F(SceneFixture, NewSceneDialogStartsWithTheTextsLeftAtItsPosition)
{
    project.setProjectName("gig.vpf");
    store("One", "first");
    store("Two", "second");
    scenes.deleteScene(2);
    naming.answers.push_back(NameAndNotes{"Three", ""});
    scenes.storeNewScene();
    EXPECT_EQ(naming.opened.back().initial.name, "Two");
    EXPECT_EQ(naming.opened.back().initial.notes, "second");
}

TEST_F(SceneFixture, FullListRefusesANewSceneWithAMessage)
{
    project.setProjectName("gig.vpf");
    Scene scene;
    scene.name = "Full";
    for (int i = 0; i < 199; ++i)
        project.scenes.append(scene);
    scenes.storeNewScene();
    EXPECT_EQ(op.textsOf(Kind::Message), std::vector<std::string>{SceneOperations::ListFullText});
    EXPECT_TRUE(naming.opened.empty());
    EXPECT_EQ(project.scenes.count(), 200);
}

TEST_F(SceneFixture, RecallSendsEachPresentChannelInTheUnderviewOrder)
{
    project.setProjectName("gig.vpf");
    project.live[1].polarity = 1;
    project.live[1].gainPosition = 30;
    project.live[2].linkGroup = 3;
    project.live[2].linkButton = 1;
    project.live[9].mute = 1; // unit 2, not present
    store("Set");
    project.resetAllChannelSettings();
    units.sent.clear();

    scenes.recallScene(1);

    ASSERT_EQ(units.sent.size(), 8u * 6u);
    EXPECT_EQ(units.sent[0], (Sent{"Pol", 0, 1, 1}));
    EXPECT_EQ(units.sent[5], (Sent{"Gain", 8, 1, 1}));
    const std::vector<Sent> second(units.sent.begin() + 6, units.sent.begin() + 12);
    const std::vector<Sent> expected{{"Pol", 1, 1, 2},  {"Pad", 0, 1, 2},  {"48v", 0, 1, 2},
                                     {"Mute", 0, 1, 2}, {"Link", 0, 1, 2}, {"Gain", 50, 1, 2}};
    EXPECT_EQ(second, expected);
    EXPECT_EQ(units.sent[16], (Sent{"Link", 1, 1, 3}));
    EXPECT_EQ(project.live[9].mute, 1); // kept although nothing was sent for it
    EXPECT_TRUE(channels.linkGroups().membership().isMember(2, 3));
    EXPECT_EQ(project.live[2].linkActive, 1);

    EXPECT_EQ(project.activeSceneIndex, 1);
    EXPECT_EQ(label(), "Active Scene: 001");
    EXPECT_EQ(project.activeSceneName, "Set");
    ASSERT_TRUE(timers.isRunning(TimerId::FullResend));
    EXPECT_EQ(timers.periodOf(TimerId::FullResend), 100u);
    units.sent.clear();
    timers.advance(100);
    EXPECT_EQ(units.sent, (std::vector<Sent>{Sent{"fullResend", 0, 0, 0}}));
}

TEST_F(SceneFixture, RecallSendsGainFirstWhileTheOverviewIsShown)
{
    project.setProjectName("gig.vpf");
    store("Set");
    units.sent.clear();
    scenes.setOverviewShown(true);
    scenes.recallScene(1);
    const std::vector<Sent> first(units.sent.begin(), units.sent.begin() + 6);
    const std::vector<Sent> expected{{"Gain", 8, 1, 1}, {"Pol", 0, 1, 1},  {"Pad", 0, 1, 1},
                                     {"48v", 0, 1, 1},  {"Mute", 0, 1, 1}, {"Link", 0, 1, 1}};
    EXPECT_EQ(first, expected);
}

TEST_F(SceneFixture, RecallClearsEveryMembershipBeforeApplying)
{
    project.setProjectName("gig.vpf");
    store("Plain");
    channels.linkGroups().joinLinkGroup(5, 2);
    ASSERT_TRUE(channels.linkGroups().membership().isMember(5, 2));
    scenes.recallScene(1);
    EXPECT_FALSE(channels.linkGroups().membership().hasMembers(2));
    EXPECT_EQ(project.live[5].linkGroup, 0);
}

TEST_F(SceneFixture, RecallOfTheBlankSceneResetsAndKeepsTheNames)
{
    project.setProjectName("gig.vpf");
    project.live[0].mute = 1;
    store("Muted");
    scenes.recallScene(1);
    project.channels[0].name = "Kick";
    units.sent.clear();

    scenes.recallScene(0);
    EXPECT_EQ(label(), "Active Scene: 000");
    EXPECT_EQ(project.activeSceneName, "  000 Blank Scene");
    EXPECT_EQ(project.followedSceneName, "  000 Blank Scene");
    EXPECT_EQ(project.live[0].mute, 0);
    EXPECT_EQ(project.channels[0].name, "Kick");
    ASSERT_EQ(units.sent.size(), 8u * 6u);
    const std::vector<Sent> expected{{"Link", 0, 1, 1}, {"Mute", 0, 1, 1}, {"Gain", 8, 1, 1},
                                     {"Pad", 0, 1, 1},  {"Pol", 0, 1, 1},  {"48v", 0, 1, 1}};
    EXPECT_EQ(std::vector<Sent>(units.sent.begin(), units.sent.begin() + 6), expected);
}

TEST_F(SceneFixture, RecallAsksFirstWhenThePreferenceIsOnAndNeedsASelection)
{
    project.setProjectName("gig.vpf");
    store("Set");
    project.prefs.promptRecallScene = 1;
    op.answers = {Decision::No};
    scenes.recallScene(1);
    EXPECT_EQ(project.activeSceneIndex, 0);
    op.answers = {Decision::Yes};
    scenes.recallScene(-1);
    EXPECT_EQ(project.activeSceneIndex, 0);
    EXPECT_EQ(op.textsOf(Kind::Decide), (std::vector<std::string>{"Are you sure?", "Are you sure?"}));
}

TEST_F(SceneFixture, TwoScenesWithTheSameNameRecallTheirOwnSettings)
{
    project.setProjectName("gig.vpf");
    project.live[0].gainPosition = 10;
    store("Same");
    project.live[0].gainPosition = 20;
    store("Same");
    scenes.recallScene(1);
    EXPECT_EQ(project.live[0].gainPosition, 10);
    scenes.recallScene(2);
    EXPECT_EQ(project.live[0].gainPosition, 20);
}

TEST_F(SceneFixture, ChannelNamesComeBackWithARecallUnlessTheProjectWasSavedBetween)
{
    project.setProjectName("gig.vpf");
    project.channels[0].name = "Kick";
    store("Set");
    project.channels[0].name = "Bass drum";
    scenes.recallScene(1);
    EXPECT_EQ(project.channels[0].name, "Kick");

    // Saving gives every scene the current names.
    project.channels[0].name = "Bass drum";
    saveProject();
    scenes.recallScene(1);
    EXPECT_EQ(project.channels[0].name, "Bass drum");
}

TEST_F(SceneFixture, APolChangeAfterStoringIsWrittenIntoTheNewScene)
{
    project.setProjectName("gig.vpf");
    store("Live");
    EXPECT_EQ(project.activeSceneIndex, 0);
    channels.switchChanged(static_cast<int>(SwitchKind::Pol), 4, 1);
    EXPECT_EQ(project.scenes.scene(1).settings[4].polarity, 1);
    // The Blank Scene is active: no marker.
    EXPECT_EQ(project.scenes.displayLine(1), "  001 Live");
}

namespace deskpanel::test {

// The scene panel is not the only follower of the list: every listener hears every change,
// and one that was removed (a closed window) hears nothing more.
TEST_F(SceneFixture, EveryListenerOfTheListHearsARecallAndARemovedOneNothing)
{
    RecordingSceneList second;
    RecordingSceneList removed;
    scenes.addListener(&second);
    scenes.addListener(&removed);
    scenes.removeListener(&removed);
    store("Verse");
    scenes.recallScene(1);
    for (const RecordingSceneList* heard : {&list, &second}) {
        EXPECT_GE(heard->activeChanged, 1);
        EXPECT_GE(heard->linesChanged, 1);
        EXPECT_EQ(heard->selected, 1);
    }
    EXPECT_EQ(removed.activeChanged + removed.linesChanged, 0);
    EXPECT_EQ(removed.selected, -1);
}

} // namespace deskpanel::test
