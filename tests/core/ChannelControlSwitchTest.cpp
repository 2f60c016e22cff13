#include "tests/core/ChannelControlFixture.h"

namespace deskpanel::test {
namespace {

class ChannelSwitches : public ChannelControlTest {
protected:
    ChannelSwitches() { units.present = {1, 2}; }
};

TEST_F(ChannelSwitches, PolPadAnd48vOnALinkedInputActOnThatInputOnly)
{
    joinAt(8, 4, 30);
    joinAt(9, 4, 30);
    joinAt(10, 4, 30);
    clearRecords();

    control.switchChanged(static_cast<int>(SwitchKind::Pol), 9, 1);
    control.switchChanged(static_cast<int>(SwitchKind::Pad), 9, 1);
    control.switchChanged(static_cast<int>(SwitchKind::Phantom48V), 9, 1);

    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Pol", 1, 2, 2}, {"Pad", 1, 2, 2}, {"48v", 1, 2, 2}}));
    EXPECT_EQ(live(9).polarity, 1);
    EXPECT_EQ(live(9).pad, 1);
    EXPECT_EQ(live(9).phantom48V, 1);
    for (int other : {8, 10})
        EXPECT_EQ(live(other), (ChannelSettings{30, 30, 0, 0, 0, 0, 1, 4, 1})) << other;
    EXPECT_EQ(control.undoHistory().entries()[0], (UndoEntry{9, 6, 1}));
    EXPECT_EQ(control.undoHistory().entries()[1], (UndoEntry{9, 5, 1}));
    EXPECT_EQ(control.undoHistory().entries()[2], (UndoEntry{9, 3, 1}));
    EXPECT_EQ(scenes.marked, 3);
    EXPECT_EQ(scenes.updated, 3);
    EXPECT_TRUE(listener.saw(9, ChannelAspect::Switches));
    EXPECT_EQ(control.currentChannel(), 9);
}

TEST_F(ChannelSwitches, AnyPositiveStateCountsAsOnAndIsStoredAsOne)
{
    control.switchChanged(static_cast<int>(SwitchKind::Pad), 3, 7);
    EXPECT_EQ(live(3).pad, 1);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Pad", 1, 1, 4}}));
}

TEST_F(ChannelSwitches, BadKindsAndChannelsAreIgnored)
{
    control.switchChanged(2, 0, 1);
    control.switchChanged(10, 0, 1);
    control.switchChanged(static_cast<int>(SwitchKind::Pol), -1, 1);
    control.switchChanged(static_cast<int>(SwitchKind::Pol), MaxChannels, 1);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(control.undoHistory().undoableCount(), 0);
    EXPECT_EQ(scenes.marked, 0);
}

TEST_F(ChannelSwitches, LinkedMuteFollowsTheSetOnlyWithThePreferenceOn)
{
    joinAt(8, 1, 30);
    joinAt(9, 1, 30);
    joinAt(10, 1, 30);
    joinAt(11, 2, 30); // another group: never muted with group 1
    clearRecords();

    control.switchChanged(static_cast<int>(SwitchKind::Mute), 9, 1);

    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Mute", 1, 2, 1}, {"Mute", 1, 2, 2}, {"Mute", 1, 2, 3}}));
    for (int member : {8, 9, 10})
        EXPECT_EQ(live(member).mute, 1);
    EXPECT_EQ(live(11).mute, 0);
    const auto& slots = control.undoHistory().entries();
    EXPECT_EQ(slots[0], (UndoEntry{10, 7, 1}));
    EXPECT_EQ(slots[1], (UndoEntry{9, 7, 1}));
    EXPECT_EQ(slots[2], (UndoEntry{8, 7, 1}));
    EXPECT_TRUE(timers.isRunning(TimerId::FullResend));
    EXPECT_EQ(timers.periodOf(TimerId::FullResend), 100u);

    // Ctrl+U: the preference off, the input alone.
    control.setMuteLinkedChannels(false);
    EXPECT_EQ(project.prefs.muteLinkedChannels, 0);
    clearRecords();
    control.switchChanged(static_cast<int>(SwitchKind::Mute), 9, 0);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Mute", 0, 2, 2}}));
    EXPECT_EQ(live(8).mute, 1);
    EXPECT_EQ(live(9).mute, 0);
    EXPECT_EQ(live(10).mute, 1);
    EXPECT_EQ(control.undoHistory().entries()[0], (UndoEntry{9, 7, 0}));

    control.setMuteLinkedChannels(true); // Ctrl+G
    EXPECT_EQ(project.prefs.muteLinkedChannels, 1);
}

TEST_F(ChannelSwitches, LinkedMuteLeavesMembersWithTheirLinkSwitchOff)
{
    joinAt(0, 3, 30);
    joinAt(1, 3, 30);
    joinAt(2, 3, 30);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 1, 0);
    clearRecords();

    control.switchChanged(static_cast<int>(SwitchKind::Mute), 0, 1);

    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Mute", 1, 1, 1}, {"Mute", 1, 1, 3}}));
    EXPECT_EQ(live(1).mute, 0);
    EXPECT_EQ(live(1).linkGroup, 3); // switching off keeps the group and its label
}

TEST_F(ChannelSwitches, LinkSwitchOffAndOnInAGroupWhoseOtherMembersAreOff)
{
    joinAt(0, 2, 20);
    joinAt(1, 2, 30);
    joinAt(2, 2, 40);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 1, 0);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 2, 0);
    clearRecords();

    control.switchChanged(static_cast<int>(SwitchKind::Link), 0, 0);
    EXPECT_EQ(units.sent, (std::vector<Sent>{
                              {"Link", 0, 1, 1},
                              {"Link", 0, 1, 2},
                              {"Link", 0, 1, 3}, // the group's off switches
                              {"Link", 0, 1, 1}, // the input itself
                          }));
    EXPECT_EQ(live(0).linkButton, 0);
    EXPECT_EQ(live(0).linkActive, 0);
    EXPECT_EQ(live(0).linkGroup, 2);
    EXPECT_TRUE(control.linkGroups().membership().isMember(0, 2));
    EXPECT_EQ(control.undoHistory().entries()[0], (UndoEntry{0, 4, 0}));
    EXPECT_EQ(scenes.marked, 1);
    EXPECT_EQ(scenes.updated, 0); // a Link change does not write the followed scene
    EXPECT_EQ(timers.periodOf(TimerId::LinkResend), 1000u);

    clearRecords();
    live(0).gainPosition = 25; // moved while unlinked: the new position becomes its reference
    control.switchChanged(static_cast<int>(SwitchKind::Link), 0, 1);
    EXPECT_EQ(units.sent, (std::vector<Sent>{
                              // the rebuild: every member leaves ...
                              {"Link", 0, 1, 1},
                              {"Link", 0, 1, 2},
                              {"Link", 0, 1, 3},
                              // ... and joins again; only the engaged one lights
                              {"Link", 1, 1, 1},
                              {"Mute", 0, 1, 1},
                              {"Link", 0, 1, 2},
                              {"Link", 0, 1, 3},
                              // the input's own join
                              {"Link", 1, 1, 1},
                              {"Mute", 0, 1, 1},
                              // the switches that were off, then the input
                              {"Link", 0, 1, 2},
                              {"Link", 0, 1, 3},
                              {"Link", 1, 1, 1},
                          }));
    EXPECT_EQ(live(0).linkButton, 1);
    EXPECT_EQ(live(0).gainAux, 25);
    EXPECT_EQ(live(1).linkButton, 0);
    EXPECT_EQ(live(2).linkButton, 0);
    EXPECT_EQ(live(1).linkGroup, 2);
    EXPECT_EQ(control.undoHistory().entries()[0], (UndoEntry{0, 4, 1}));
    EXPECT_EQ(control.undoHistory().undoableCount(), 8);
    expectUnitsLinkMatchesSwitches();

    // A second later every input of every present unit is told its Link state again.
    clearRecords();
    timers.advance(1000);
    ASSERT_EQ(units.sent.size(), 16u);
    EXPECT_EQ(units.sent[0], (Sent{"Link", 1, 1, 1}));
    EXPECT_EQ(units.sent[1], (Sent{"Link", 0, 1, 2}));
    EXPECT_EQ(units.sent[8], (Sent{"Link", 0, 2, 1}));
    EXPECT_FALSE(timers.isRunning(TimerId::LinkResend));
}

TEST_F(ChannelSwitches, LinkResendWalksTheUnitsInTheLinksOrder)
{
    units.present = {2, 5};
    units.tableOrder = {5, 2, 5}; // by MAC address; two units carry number 5
    live(channelIndex(2, 3)).linkButton = 1;
    timers.start(TimerId::LinkResend, ChannelControl::LinkResendMs);
    timers.advance(ChannelControl::LinkResendMs);
    std::vector<Sent> expected;
    for (int unit : {5, 2, 5})
        for (int input = 1; input <= ChannelsPerUnit; ++input)
            expected.push_back({"Link", unit == 2 && input == 3 ? 1.0 : 0.0, unit, input});
    EXPECT_EQ(units.sent, expected);
}

TEST_F(ChannelSwitches, LinkSwitchWithoutAGroupSendsOnlyThatInput)
{
    control.switchChanged(static_cast<int>(SwitchKind::Link), 5, 1);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Link", 1, 1, 6}}));
    EXPECT_EQ(live(5).linkActive, 1);
    EXPECT_FALSE(control.isLinkIndicatorLit(5)); // no group
}

TEST_F(ChannelSwitches, AChannelOfAnAbsentUnitChangesButNothingIsSent)
{
    units.present.clear();
    control.switchChanged(static_cast<int>(SwitchKind::Pol), 40, 1);
    control.switchChanged(static_cast<int>(SwitchKind::Mute), 40, 1);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 40, 1);
    control.singleGainMove(40, 30);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(live(40).polarity, 1);
    EXPECT_EQ(live(40).mute, 1);
    EXPECT_EQ(live(40).linkButton, 1);
    EXPECT_EQ(live(40).gainPosition, 30);
    EXPECT_FALSE(timers.isRunning(TimerId::FullResend));
    EXPECT_FALSE(timers.isRunning(TimerId::LinkResend));
}

TEST_F(ChannelSwitches, UndoPutsSwitchesBackWithoutFollowingLinksOrMarkingTheScene)
{
    joinAt(0, 1, 30);
    joinAt(1, 1, 30);
    control.switchChanged(static_cast<int>(SwitchKind::Mute), 0, 1);
    control.switchChanged(static_cast<int>(SwitchKind::Pol), 1, 1);
    timers.advance(200); // the linked mute's full resend
    clearRecords();

    control.undo();
    control.undo();
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Pol", 0, 1, 2}, {"Mute", 0, 1, 2}}));
    EXPECT_EQ(live(1).polarity, 0);
    EXPECT_EQ(live(1).mute, 0);
    EXPECT_EQ(live(0).mute, 1); // its own entry is still to come
    EXPECT_EQ(scenes.marked, 0);
    EXPECT_FALSE(timers.isRunning(TimerId::FullResend));
}

TEST_F(ChannelSwitches, UndoOnAnEmptyHistoryDoesNothing)
{
    const auto before = project.live;
    control.undo();
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(project.live, before);
    EXPECT_EQ(control.undoHistory().undoableCount(), 0);
}

TEST_F(ChannelSwitches, TheCounterStopsAtEightUndos)
{
    for (int c = 0; c < 12; ++c)
        control.switchChanged(static_cast<int>(SwitchKind::Pad), c, 1);
    for (int i = 0; i < 12; ++i)
        control.undo();
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(live(c).pad, 1) << c;
    for (int c = 4; c < 12; ++c)
        EXPECT_EQ(live(c).pad, 0) << c;
}

TEST_F(ChannelSwitches, SaveAndRestoreCarryAUnitsInputsToAnotherNumber)
{
    units.present = {5};
    for (int input = 1; input <= 8; ++input) {
        ChannelSettings& s = live(channelIndex(2, input));
        s.gainPosition = 10 * (input - 1);
        s.gainAux = input;
        s.polarity = input % 2;
        s.pad = input == 3;
        s.phantom48V = input == 4;
        s.mute = input >= 7;
        s.linkButton = input <= 2;
        s.linkGroup = input <= 3 ? 6 : 0;
        s.linkActive = 1; // held as 1 only where the switch is on
    }
    const auto unit2 = project.live;

    control.saveUnitSettings(2);
    control.restoreUnitSettings(5);

    ASSERT_EQ(units.sent.size(), 48u);
    for (int input = 1; input <= 8; ++input) {
        const ChannelSettings& from = unit2[static_cast<std::size_t>(channelIndex(2, input))];
        const ChannelSettings& to = live(channelIndex(5, input));
        EXPECT_EQ(to.gainPosition, from.gainPosition);
        EXPECT_EQ(to.gainAux, from.gainAux);
        EXPECT_EQ(to.polarity, from.polarity);
        EXPECT_EQ(to.mute, from.mute);
        EXPECT_EQ(to.linkButton, from.linkButton);
        EXPECT_EQ(to.linkGroup, from.linkGroup);
        EXPECT_EQ(to.linkActive, from.linkButton);
        EXPECT_EQ(control.linkGroups().membership().groupOf(channelIndex(5, input)), from.linkGroup);
        const std::size_t at = static_cast<std::size_t>(input - 1) * 6;
        EXPECT_EQ(units.sent[at + 0], (Sent{"Pol", double(from.polarity), 5, input}));
        EXPECT_EQ(units.sent[at + 1], (Sent{"Pad", double(from.pad), 5, input}));
        EXPECT_EQ(units.sent[at + 2], (Sent{"48v", double(from.phantom48V), 5, input}));
        EXPECT_EQ(units.sent[at + 3], (Sent{"Mute", double(from.mute), 5, input}));
        EXPECT_EQ(units.sent[at + 4], (Sent{"Link", double(from.linkButton), 5, input}));
        EXPECT_EQ(units.sent[at + 5], (Sent{"Gain", double(80 - from.gainPosition), 5, input}));
    }
    EXPECT_EQ(control.overviewGainText(channelIndex(5, 1)), "+ 80 dB");
    EXPECT_EQ(control.undoHistory().undoableCount(), 0);
    EXPECT_EQ(scenes.marked, 0);
}

// A send may open an error box in which a new unit is found and saves its own inputs.
class InterruptingSender : public RecordingUnitSender {
public:
    void sendParameter(const std::string& name, double value, int unitNumber, int input) override
    {
        RecordingUnitSender::sendParameter(name, value, unitNumber, input);
        if (onSend) {
            auto hook = std::move(onSend);
            onSend = nullptr;
            hook();
        }
    }
    std::function<void()> onSend;
};

TEST(ChannelSwitchesReentry, ARestoreKeepsItsSettingsWhenAnotherUnitSavesMeanwhile)
{
    Project project;
    InterruptingSender units;
    units.present = {5};
    FakeClock clock;
    FakeTimers timers(clock);
    RecordingSceneTracker scenes;
    ChannelControl control(project, units, timers, scenes);
    for (int input = 1; input <= 8; ++input)
        project.live[static_cast<std::size_t>(channelIndex(2, input))].gainPosition = 10 + input;

    control.saveUnitSettings(2);
    units.onSend = [&] { control.saveUnitSettings(9); }; // unit 9 holds the defaults
    control.restoreUnitSettings(5);

    for (int input = 1; input <= 8; ++input)
        EXPECT_EQ(project.live[static_cast<std::size_t>(channelIndex(5, input))].gainPosition, 10 + input);
    EXPECT_EQ(units.sent.back(), (Sent{"Gain", 62, 5, 8}));
}

TEST_F(ChannelSwitches, RestoreBeforeAnySaveOrToABadNumberChangesNothing)
{
    units.present = {3};
    const auto before = project.live;
    control.restoreUnitSettings(3); // the zeroed holding area would mean 80 dB everywhere
    control.saveUnitSettings(0);
    control.saveUnitSettings(49);
    control.restoreUnitSettings(3);
    EXPECT_FALSE(control.heldUnitSettings().hasSaved());
    control.saveUnitSettings(1);
    control.restoreUnitSettings(0);
    control.restoreUnitSettings(49);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(project.live, before);
}

TEST_F(ChannelSwitches, ResetSendsDefaultsToPresentUnitsAndClearsGroups)
{
    units.present = {2};
    joinAt(8, 1, 30);
    control.switchChanged(static_cast<int>(SwitchKind::Pol), 9, 1);
    control.singleGainMove(40, 20);
    const auto undoBefore = control.undoHistory().entries();
    clearRecords();

    control.resetAllChannels();

    ASSERT_EQ(units.sent.size(), 48u);
    const std::vector<Sent> firstInput{{"Link", 0, 2, 1}, {"Mute", 0, 2, 1}, {"Gain", 8, 2, 1},
                                       {"Pad", 0, 2, 1},  {"Pol", 0, 2, 1},  {"48v", 0, 2, 1}};
    EXPECT_EQ(std::vector<Sent>(units.sent.begin(), units.sent.begin() + 6), firstInput);
    EXPECT_EQ(units.sent[47], (Sent{"48v", 0, 2, 8}));
    EXPECT_EQ(project.live, ChannelSettingsArray{});
    EXPECT_FALSE(control.linkGroups().isInAnyGroup(8));
    EXPECT_EQ(control.overviewGainText(40), "+ 8 dB");
    EXPECT_EQ(control.underviewGainText(40), "+8");
    EXPECT_EQ(control.undoHistory().entries(), undoBefore);
    EXPECT_EQ(listener.allChanged, 1);
    EXPECT_EQ(scenes.marked, 0);
}

TEST_F(ChannelSwitches, SceneChannelIsSentInTheViewsOrder)
{
    ChannelSettings stored{12, 12, 1, 0, 1, 0, 1, 3, 0};
    control.applySceneChannel(2, stored, ChannelControl::GainSendOrder::GainFirst);
    control.applySceneChannel(3, stored, ChannelControl::GainSendOrder::GainLast);
    EXPECT_EQ(units.sent, (std::vector<Sent>{
                              {"Gain", 68, 1, 3},
                              {"Pol", 1, 1, 3},
                              {"Pad", 0, 1, 3},
                              {"48v", 1, 1, 3},
                              {"Mute", 0, 1, 3},
                              {"Link", 1, 1, 3},
                              {"Pol", 1, 1, 4},
                              {"Pad", 0, 1, 4},
                              {"48v", 1, 1, 4},
                              {"Mute", 0, 1, 4},
                              {"Link", 1, 1, 4},
                              {"Gain", 68, 1, 4},
                          }));
    EXPECT_EQ(live(3).linkActive, 1);
    EXPECT_TRUE(control.linkGroups().membership().isMember(3, 3));
    EXPECT_EQ(control.undoHistory().undoableCount(), 0);
}

TEST_F(ChannelSwitches, SceneChannelOutOfRangeIsKeptInRange)
{
    ChannelSettings stored{500, -4, 9, 0, 0, -1, 1, 77, 1};
    control.applySceneChannel(0, stored, ChannelControl::GainSendOrder::GainLast);
    EXPECT_EQ(live(0).gainPosition, 72);
    EXPECT_EQ(live(0).gainAux, 0);
    EXPECT_EQ(live(0).polarity, 1);
    EXPECT_EQ(live(0).mute, 0);
    EXPECT_EQ(live(0).linkGroup, 0);
    EXPECT_EQ(control.linkGroups().membership().groupOf(0), 0);
}

TEST_F(ChannelSwitches, PopupAndTitleRunTheClosingStepsWhateverWasChosen)
{
    dialogs.titleOk = false;
    control.switchChanged(static_cast<int>(SwitchKind::ChannelTitle), 41, 0);
    control.switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), 42, 0);
    ASSERT_EQ(dialogs.titles.size(), 1u);
    EXPECT_EQ(dialogs.titles[0].second, "Enter the desired title for Channel 42");
    EXPECT_FALSE(listener.saw(41, ChannelAspect::Name));
    ASSERT_EQ(dialogs.popups.size(), 1u);
    EXPECT_EQ(dialogs.popups[0], std::make_pair(42, 0));
    EXPECT_EQ(scenes.marked, 2);
    EXPECT_EQ(scenes.updated, 2);
    EXPECT_EQ(control.currentChannel(), 42);
    EXPECT_TRUE(units.sent.empty());

    dialogs.titleOk = true;
    control.switchChanged(static_cast<int>(SwitchKind::ChannelTitle), 41, 0);
    EXPECT_TRUE(listener.saw(41, ChannelAspect::Name));
}

TEST_F(ChannelSwitches, TimersThatFireWhileThePopupIsOpenFindTheModelWhole)
{
    // A pending full resend fires inside the pop-up's own event loop.
    control.singleGainMove(0, 40);
    dialogs.whileOpen = [this] { timers.advance(200); };
    dialogs.choices = {4};
    control.switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), 3, 0);
    EXPECT_EQ(std::count(units.sent.begin(), units.sent.end(), Sent{"fullResend", 0, 0, 0}), 1);
    EXPECT_EQ(live(3).linkGroup, 4);
    EXPECT_EQ(live(3).linkButton, 1);
}

} // namespace
} // namespace deskpanel::test
