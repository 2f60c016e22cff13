#include "core/model/ChannelSettingsPaste.h"
#include "core/model/GainMath.h"
#include "tests/core/remote/RemoteFixture.h"

#include <cmath>
#include <limits>

namespace deskpanel::test {
namespace {

using Kind = ScriptedOperator::Kind;

class RemoteDispatch : public RemoteFixture {
protected:
    ChannelSettings& live(int channel) { return project.live[static_cast<std::size_t>(channel)]; }
    void joinAt(int channel, int group, int position)
    {
        live(channel).gainPosition = position;
        channels.linkGroups().matrixCellPressed(group, channel);
        channels.linkGroups().matrixReleased();
    }
};

TEST_F(RemoteDispatch, EachMessageIsAnsweredOrAppliedAsTheStripWould)
{
    const struct {
        OscMessage message;
        std::vector<OscMessage> answers;
        std::vector<RecordingUnitSender::Sent> sends;
    } cases[] = {
        {{"/deskpanel/ch/1/gain", {40.4f}}, {}, {{"Gain", 40, 1, 1}}},
        {{"/deskpanel/ch/2/gain", {std::int32_t{80}}}, {}, {{"Gain", 80, 1, 2}}},
        {{"/deskpanel/ch/2/gain", {7.4f}}, {error("value out of range, 8..80 dB expected: /deskpanel/ch/2/gain")}, {}},
        {{"/deskpanel/ch/2/gain", {std::numeric_limits<float>::quiet_NaN()}},
         {error("not a finite number: /deskpanel/ch/2/gain")},
         {}},
        {{"/deskpanel/ch/2/gain", {std::string("40")}},
         {error("wrong argument type, f, i, d or h expected: /deskpanel/ch/2/gain")},
         {}},
        {{"/deskpanel/ch/2/gain", {}}, {{"/deskpanel/ch/2/gain", {80.0f}}}, {}},
        {{"/deskpanel/ch/3/mute", {std::int32_t{1}}}, {}, {{"Mute", 1, 1, 3}}},
        {{"/deskpanel/ch/3/mute", {}}, {{"/deskpanel/ch/3/mute", {std::int32_t{1}}}}, {}},
        {{"/deskpanel/ch/3/pad", {std::int32_t{2}}},
         {error("value out of range, 0 or 1 expected: /deskpanel/ch/3/pad")},
         {}},
        {{"/deskpanel/ch/4/polarity", {std::int32_t{1}}}, {}, {{"Pol", 1, 1, 4}}},
        {{"/deskpanel/ch/4/pad", {1.0f}}, {}, {{"Pad", 1, 1, 4}}},
        {{"/deskpanel/ch/4/pad", {false}}, {}, {{"Pad", 0, 1, 4}}},
        {{"/deskpanel/ch/4/pad", {0.5f}}, {error("value out of range, 0 or 1 expected: /deskpanel/ch/4/pad")}, {}},
        {{"/deskpanel/ch/4/pad", {std::string("on")}},
         {error("wrong argument type, i, f, T or F expected: /deskpanel/ch/4/pad")},
         {}},
        {{"/deskpanel/ch/4/pad", {std::int32_t{0}}}, {}, {}}, // already off: nothing sent
        {{"/deskpanel/ch/2/gain", {41.0}}, {}, {{"Gain", 41, 1, 2}}},
        {{"/deskpanel/ch/2/gain", {std::int64_t{41}}}, {}, {}},
        {{"/deskpanel/ch/2/gain/step", {std::int32_t{-3}}}, {}, {{"Gain", 38, 1, 2}}},
        {{"/deskpanel/ch/2/gain/step", {std::int32_t{11}}},
         {error("i: -10..-1 or 1..10 dB expected: /deskpanel/ch/2/gain/step")},
         {}},
        {{"/deskpanel/ch/5/phantom", {std::int32_t{1}}},
         {error("48 V from remote is not allowed: /deskpanel/ch/5/phantom")},
         {}},
        {{"/deskpanel/ch/5/phantom", {}}, {{"/deskpanel/ch/5/phantom", {std::int32_t{0}}}}, {}},
        {{"/deskpanel/ch/9/name", {}}, {{"/deskpanel/ch/9/name", {Project::defaultChannelName(8)}}}, {}},
        {{"/deskpanel/ch/9/name", {std::string("x")}}, {error("no arguments expected: /deskpanel/ch/9/name")}, {}},
        {{"/deskpanel/ch/0/mute", {std::int32_t{1}}}, {error("channel out of range: /deskpanel/ch/0/mute")}, {}},
        {{"/deskpanel/ch/385/mute", {}}, {error("channel out of range: /deskpanel/ch/385/mute")}, {}},
        {{"/deskpanel/ch/01/mute", {}}, {error("channel out of range: /deskpanel/ch/01/mute")}, {}},
        {{"/deskpanel/group/11/mute", {std::int32_t{1}}},
         {error("link group out of range: /deskpanel/group/11/mute")},
         {}},
        {{"/deskpanel/unit/49/state", {}}, {error("unit out of range: /deskpanel/unit/49/state")}, {}},
        {{"/deskpanel/unit/7/state", {}}, {{"/deskpanel/unit/7/state", {std::string("CONFLICT")}}}, {}},
        {{"/deskpanel/ch/1/gain/x", {}}, {error("unknown address: /deskpanel/ch/1/gain/x")}, {}},
        {{"/deskpanel/ping", {}}, {{"/deskpanel/pong", {}}}, {}},
        {{"/deskpanel/subscribe", {std::int32_t{61}}},
         {error("i: 1..60 seconds expected, then s: the token: /deskpanel/subscribe")},
         {}},
        {{"/deskpanel/scene/recall", {std::int32_t{5}}}, {error("no such scene: /deskpanel/scene/recall")}, {}},
        {{"/deskpanel/ch/{6,7}/mute", {true}}, {}, {{"Mute", 1, 1, 6}, {"Mute", 1, 1, 7}}},
        {{"/deskpanel/ch/1[0-1]/name", {}},
         {{"/deskpanel/ch/10/name", {Project::defaultChannelName(9)}},
          {"/deskpanel/ch/11/name", {Project::defaultChannelName(10)}}},
         {}},
        {{"/deskpanel/ch/9*/pad", {std::int32_t{1}}}, {}, {}}, // 9 and 90..99: no unit present
        {{"/deskpanel/ch/[!0-9]/pad", {}}, {error("no channel matches the pattern: /deskpanel/ch/[!0-9]/pad")}, {}},
        {{"/deskpanel/*/1/mute", {}}, {error("unknown address: /deskpanel/*/1/mute")}, {}},
        {{"/deskpanel/info", {}},
         {{"/deskpanel/info",
           {std::string("DeskPanel"), std::string("1.01"), std::string(Project::NewProjectName), std::int32_t{1},
            std::int32_t{8}}}},
         {}},
        {{"/deskpanel/ch/1/mute", {std::string(200, 'x')}},
         {error("wrong argument type, i, f, T or F expected: /deskpanel/ch/1/mute")},
         {}},
    };
    unitStates[7] = UnitState::CONFLICT;
    for (const auto& c : cases) {
        units.sent.clear();
        EXPECT_EQ(send(c.message), c.answers) << c.message.address;
        EXPECT_EQ(units.sent, c.sends) << c.message.address;
    }
    EXPECT_EQ(remote.counts().refused, 20u);
    EXPECT_TRUE(op.shown.empty());
    // An error echoes at most 128 bytes of what was sent.
    const std::string longAddress = "/deskpanel/" + std::string(60000, 'a');
    EXPECT_EQ(send({longAddress, {}}),
              std::vector<OscMessage>{error("unknown address: " + longAddress.substr(0, 128))});

    // A malformed packet is answered, and nothing of it applied.
    std::vector<std::uint8_t> bytes = osc::encodeMessage({"/deskpanel/ch/1/mute", {std::int32_t{1}}});
    bytes.resize(bytes.size() - 4);
    EXPECT_EQ(sendBytes(bytes),
              std::vector<OscMessage>{error("malformed packet: argument missing: /deskpanel/ch/1/mute")});
}

TEST_F(RemoteDispatch, GainGoesTheFaderWayWithRoundingReducedRangeAndLinks)
{
    joinAt(0, 2, 30);
    joinAt(1, 2, 40);
    joinAt(2, 2, 60);
    // The operator's drag of channel 1 to the position of 45 dB...
    units.sent.clear();
    channels.faderGrabbed(0);
    channels.faderMoved(0, 35, false);
    channels.faderReleased(0);
    const auto byStrip = units.sent;
    const auto stripUndo = channels.undoHistory().entries();
    for (int c = 0; c < 3; ++c)
        channels.undo();
    ASSERT_EQ(live(0).gainPosition, 30);

    // ...and the same move from a remote: the same datagrams in the same order.
    units.sent.clear();
    EXPECT_EQ(send({"/deskpanel/ch/1/gain", {45.0f}}), std::vector<OscMessage>{});
    EXPECT_EQ(units.sent, byStrip);
    // One undo step holding what the strip's three entries hold, oldest first.
    const auto remoteStep = channels.undoHistory().newest();
    ASSERT_TRUE(remoteStep && remoteStep->steps);
    EXPECT_EQ(*remoteStep->steps, (std::vector<UndoEntry>{stripUndo[2], stripUndo[1], stripUndo[0]}));
    timers.advance(RemoteDispatcher::GrabMs);

    // Limited: channel 3 would pass 8 dB, so the group stops where it ends at 72.
    EXPECT_EQ(send({"/deskpanel/ch/1/gain", {8.0f}}), (std::vector<OscMessage>{{"/deskpanel/ch/1/gain", {38.0f}}}));
    EXPECT_EQ(live(2).gainPosition, MaxGainPosition);

    // Dropped: under the reduced range a group wider than the fader changes nothing.
    units.reduced = true;
    live(1).gainAux = 0;
    live(2).gainAux = MaxGainPosition;
    units.sent.clear();
    EXPECT_EQ(
        send({"/deskpanel/ch/1/gain", {40.0f}}),
        std::vector<OscMessage>{error("linked move dropped: the group is wider than the fader: /deskpanel/ch/1/gain")});
    EXPECT_TRUE(units.sent.empty());

    // Under the reduced range 70..80 dB becomes 69; the answer says so.
    units.present = {1, 2};
    units.sent.clear();
    EXPECT_EQ(send({"/deskpanel/ch/9/gain", {75.4f}}), (std::vector<OscMessage>{{"/deskpanel/ch/9/gain", {69.0f}}}));
    EXPECT_EQ(units.sent.front(), (RecordingUnitSender::Sent{"Gain", 69, 2, 1}));
    EXPECT_EQ(live(8).gainPosition, ReducedRangeFloorPosition);
}

TEST_F(RemoteDispatch, AStreamOfGainMovesIsOneGrabAndKeepsTheOperatorsHistory)
{
    store("Act 1");
    scenes.recallScene(1);
    channels.switchChanged(static_cast<int>(SwitchKind::Pol), 20, 1);
    channels.switchChanged(static_cast<int>(SwitchKind::Pad), 21, 1);
    const int undoable = channels.undoHistory().undoableCount();
    const int before = live(5).gainPosition;
    for (int step = 0; step < 30; ++step) {
        send({"/deskpanel/ch/6/gain", {static_cast<float>(20 + step)}});
        timers.advance(RemoteDispatcher::GrabMs - 1);
    }
    // One entry for the whole stream; the followed scene still holds the gain from before.
    EXPECT_EQ(channels.undoHistory().undoableCount(), undoable + 1);
    EXPECT_EQ(project.scenes.scene(1).settings[5].gainPosition, before);
    EXPECT_EQ(project.scenes.displayLine(1), "  001 Act 1*");
    timers.advance(1); // 500 ms after the last message: released
    EXPECT_EQ(project.scenes.scene(1).settings[5].gainPosition, MaxGainDb - 49);
    send({"/deskpanel/ch/6/gain", {60.0f}}); // a new grab
    EXPECT_EQ(channels.undoHistory().undoableCount(), undoable + 2);

    channels.undo();
    channels.undo();
    EXPECT_EQ(live(5).gainPosition, before);
    channels.undo();
    EXPECT_EQ(live(21).pad, 0) << "the operator's own entries are still there";
}

TEST_F(RemoteDispatch, RefusesWhatTheDeskForbidsAndChangesNothing)
{
    store("Act 1");
    op.clear();
    project.sceneFollowing = false; // the scene keeps what is set here
    project.scenes.scene(1).settings[3].phantom48V = 1;
    project.scenes.scene(1).settings[4].phantom48V = 1;
    project.prefs.promptRecallScene = 1;
    const OscMessage recall{"/deskpanel/scene/recall", {std::string("Act 1")}};

    channels.setStripsHeld(true);
    EXPECT_EQ(send({"/deskpanel/ch/1/mute", {std::int32_t{1}}}),
              std::vector<OscMessage>{error("the identity check holds the strips: /deskpanel/ch/1/mute")});
    EXPECT_EQ(send(recall),
              std::vector<OscMessage>{error("the identity check holds the strips: /deskpanel/scene/recall")});
    channels.setStripsHeld(false);

    joinAt(10, 4, 30);
    joinAt(11, 4, 30);
    channels.faderGrabbed(11);
    EXPECT_EQ(send({"/deskpanel/ch/11/gain", {40.0f}}),
              std::vector<OscMessage>{error("the operator holds the fader: /deskpanel/ch/11/gain")});
    EXPECT_EQ(send({"/deskpanel/group/4/mute", {std::int32_t{1}}}),
              std::vector<OscMessage>{error("the operator holds the fader: /deskpanel/group/4/mute")});
    EXPECT_EQ(send(recall), std::vector<OscMessage>{error("the operator holds a fader: /deskpanel/scene/recall")});
    EXPECT_EQ(send({"/deskpanel/ch/13/mute", {std::int32_t{1}}}), std::vector<OscMessage>{}) << "another channel";
    channels.faderReleased(11);
    EXPECT_EQ(channels.currentChannel(), 11) << "a remote switch leaves the arrow keys where they were";

    scenes.toggleSceneLock();
    EXPECT_EQ(send(recall), std::vector<OscMessage>{error("the scene lock is on: /deskpanel/scene/recall")});
    scenes.toggleSceneLock();

    EXPECT_EQ(send(recall), std::vector<OscMessage>{
                                error("the recall would switch 48 V on for 2 channels: /deskpanel/scene/recall")});
    EXPECT_EQ(project.activeSceneIndex, 0);
    EXPECT_EQ(live(12).mute, 1) << "nothing was recalled";

    // Allowed: recalled at once, without the prompt a recall from the list would ask.
    remote.setAllowPhantom(true);
    units.sent.clear();
    EXPECT_EQ(send(recall), std::vector<OscMessage>{});
    EXPECT_EQ(live(12).mute, 0);
    EXPECT_EQ(live(3).phantom48V, 1);
    EXPECT_TRUE(op.textsOf(Kind::Decide).empty());
    EXPECT_EQ(send({"/deskpanel/ch/4/phantom", {std::int32_t{0}}}), std::vector<OscMessage>{});
    EXPECT_EQ(units.sent.back(), (RecordingUnitSender::Sent{"48v", 0, 1, 4}));
    // With the 48 V guard on, a remote's 48 V on is refused: the guard asks at the desk,
    // and nothing a remote does opens a box there. Switching off still goes.
    channels.setConfirmPhantomOn(true);
    EXPECT_EQ(send({"/deskpanel/ch/4/phantom", {std::int32_t{1}}}),
              std::vector<OscMessage>{error("the 48 V guard asks at the desk: /deskpanel/ch/4/phantom")});
    EXPECT_EQ(units.sent.back(), (RecordingUnitSender::Sent{"48v", 0, 1, 4}));
    EXPECT_EQ(send({"/deskpanel/ch/5/phantom", {std::int32_t{0}}}), std::vector<OscMessage>{});
    EXPECT_EQ(units.sent.back(), (RecordingUnitSender::Sent{"48v", 0, 1, 5}));
    scenes.recallScene(0, SceneOperations::RecallOrigin::Remote);
    project.scenes.scene(1).settings[3].phantom48V = 1; // the follows since wrote it off
    timers.advance(RemoteControl::RecallBudgetMs);
    EXPECT_EQ(send(recall), std::vector<OscMessage>{error("the 48 V guard asks at the desk: /deskpanel/scene/recall")});
    EXPECT_TRUE(op.textsOf(Kind::Decide).empty());
    EXPECT_EQ(remote.counts().refused, 9u);
}

TEST_F(RemoteDispatch, GroupMuteSetsEachMemberAloneInChannelOrder)
{
    project.prefs.muteLinkedChannels = 1;
    joinAt(6, 3, 30);
    joinAt(1, 3, 30);
    joinAt(9, 5, 30);
    channels.switchChanged(static_cast<int>(SwitchKind::Link), 6, 0); // in group 3, link off
    units.present = {1, 2};
    units.sent.clear();
    EXPECT_EQ(send({"/deskpanel/group/3/mute", {std::int32_t{1}}}), std::vector<OscMessage>{});
    EXPECT_EQ(units.sent, (std::vector<RecordingUnitSender::Sent>{{"Mute", 1, 1, 2}, {"Mute", 1, 1, 7}}));
    EXPECT_EQ(live(9).mute, 0);
    // One undo step for the group.
    const auto step = channels.undoHistory().newest();
    ASSERT_TRUE(step && step->steps);
    EXPECT_EQ(*step->steps, (std::vector<UndoEntry>{{1, static_cast<int>(UndoKind::Mute), 1},
                                                    {6, static_cast<int>(UndoKind::Mute), 1}}));
    channels.undo();
    EXPECT_EQ(live(1).mute, 0);
    EXPECT_EQ(live(6).mute, 0);
}

TEST_F(RemoteDispatch, ScenesAreRecalledByNameOrNumberAndListed)
{
    store("Intro");
    store("Act 1");
    store("Act 1");
    project.scenes.setModified(2);
    live(0).mute = 1;
    EXPECT_EQ(send({"/deskpanel/scene/list", {}}),
              (std::vector<OscMessage>{{"/deskpanel/scene/list",
                                        {std::int32_t{0}, std::int32_t{4}, std::string("Blank Scene"),
                                         std::string("Intro"), std::string("Act 1"), std::string("Act 1")}}}));
    EXPECT_EQ(send({"/deskpanel/scene/recall", {std::string("Act 1")}}), std::vector<OscMessage>{});
    EXPECT_EQ(send({"/deskpanel/scene/active", {}}),
              (std::vector<OscMessage>{{"/deskpanel/scene/active", {std::string("Act 1"), std::int32_t{2}}}}));
    EXPECT_EQ(send({"/deskpanel/scene/recall", {std::int32_t{0}}}), std::vector<OscMessage>{});
    EXPECT_EQ(live(0).mute, 0);
    EXPECT_EQ(send({"/deskpanel/scene/active", {}}),
              (std::vector<OscMessage>{{"/deskpanel/scene/active", {std::string("Blank Scene"), std::int32_t{0}}}}));
    timers.advance(RemoteControl::RecallBudgetMs); // two recalls a second
    EXPECT_EQ(send({"/deskpanel/scene/recall", {std::string("  002 Act 1*")}}),
              std::vector<OscMessage>{error("no such scene: /deskpanel/scene/recall")});
}

// A preset by name onto a pattern of channels: one paste, one undo step, 48 V as remotes have it.
TEST_F(RemoteDispatch, APresetIsPastedOntoEveryMatchAsOneStep)
{
    PartialSettings vocal;
    vocal.gainDb = 42;
    vocal.phantom48V = 1;
    ChannelSettingsPaste paste(project, channels, units, scenes, op);
    remote.setPresets([&](const std::string& name) { return name == "Vocal" ? std::optional(vocal) : std::nullopt; },
                      [&](const PartialSettings& s, const std::vector<int>& targets) {
                          return paste.paste(s, targets) == ChannelSettingsPaste::Outcome::Pasted;
                      });
    const OscMessage message{"/deskpanel/ch/{2,3}/preset", {std::string("Vocal")}};
    EXPECT_EQ(send(message),
              std::vector<OscMessage>{error("48 V from remote is not allowed: /deskpanel/ch/{2,3}/preset")});
    remote.setAllowPhantom(true);
    channels.setConfirmPhantomOn(true);
    EXPECT_EQ(send(message),
              std::vector<OscMessage>{error("the 48 V guard asks at the desk: /deskpanel/ch/{2,3}/preset")});
    channels.setConfirmPhantomOn(false);
    EXPECT_EQ(send({"/deskpanel/ch/2/preset", {std::string("Drums")}}),
              std::vector<OscMessage>{error("no such preset: /deskpanel/ch/2/preset")});

    const int undoable = channels.undoHistory().undoableCount();
    units.sent.clear();
    EXPECT_EQ(send(message), std::vector<OscMessage>{});
    EXPECT_EQ(units.sent, (std::vector<RecordingUnitSender::Sent>{
                              {"Gain", 42, 1, 2}, {"48v", 1, 1, 2}, {"Gain", 42, 1, 3}, {"48v", 1, 1, 3}}));
    EXPECT_EQ(channels.undoHistory().undoableCount(), undoable + 1);
    EXPECT_TRUE(op.textsOf(Kind::Decide).empty());
    channels.undo();
    EXPECT_EQ(live(1).phantom48V, 0);
    EXPECT_EQ(live(2).gainPosition, MaxGainPosition);
}

TEST_F(RemoteDispatch, ARecallIsRefusedOnlyFor48VItWouldReallySwitchOn)
{
    live(3).phantom48V = 1;
    store("Phantom");
    live(3).phantom48V = 0;
    project.recallSafes.set(3, SafeFlag::Phantom48V, true); // the recall leaves it off
    EXPECT_EQ(send({"/deskpanel/scene/recall", {std::int32_t{1}}}), std::vector<OscMessage>{});
    EXPECT_EQ(project.activeSceneIndex, 1);
    EXPECT_EQ(live(3).phantom48V, 0);
}

} // namespace
} // namespace deskpanel::test
