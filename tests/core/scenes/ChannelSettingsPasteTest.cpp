#include "core/model/ChannelSettingsPaste.h"
#include "core/model/GainMath.h"
#include "tests/core/scenes/SceneFixture.h"

#include <functional>

using namespace deskpanel;
using namespace deskpanel::test;
using Sent = RecordingUnitSender::Sent;
using Kind = ScriptedOperator::Kind;

namespace {

PartialSettings only(std::optional<int> gain, std::optional<int> pad, std::optional<int> pol,
                     std::optional<int> phantom, std::optional<int> mute)
{
    return PartialSettings{gain, pad, pol, phantom, mute};
}
constexpr std::nullopt_t no = std::nullopt;

std::vector<Sent> parameters(const std::vector<Sent>& sent)
{
    std::vector<Sent> out;
    for (const Sent& s : sent)
        if (s.name != "fullResend")
            out.push_back(s);
    return out;
}

// Units 1 and 2 present, unit 3 not. Channels 8..10 are linked in group 1 with "Mute
// linked channels" on; the scene "Show" is stored, recalled and followed.
class ChannelSettingsPasteTest : public SceneFixture {
protected:
    void SetUp() override
    {
        project.setProjectName("gig.vpf");
        units.present = {1, 2};
        project.prefs.muteLinkedChannels = 1;
        for (int c : {8, 9, 10}) {
            project.live[static_cast<std::size_t>(c)].gainPosition = 30;
            channels.linkGroups().matrixCellPressed(1, c);
            channels.linkGroups().matrixReleased();
        }
        store("Show");
        scenes.recallScene(1);
        channels.setOperator(&op);
        units.sent.clear();
        op.clear();
    }

    ChannelSettingsPaste paste{project, channels, units, scenes, op};
};

struct PasteCase {
    const char* what;
    PartialSettings settings;
    std::vector<int> targets;
    std::vector<Sent> sent;
    std::function<void(const Project&)> check;
};

TEST_F(ChannelSettingsPasteTest, EachPasteSendsItsChangesAndIsOneUndoStepWithTheFollowedSceneWritten)
{
    const auto at = [](const Project& p, int c) { return p.live[static_cast<std::size_t>(c)]; };
    const std::vector<PasteCase> cases{
        {"gain alone, also the link reference",
         only(42, no, no, no, no),
         {3},
         {{"Gain", 42, 1, 4}},
         [&](const Project& p) {
             EXPECT_EQ(at(p, 3).gainPosition, 38);
             EXPECT_EQ(at(p, 3).gainAux, 38);
         }},
        {"pad alone", only(no, 1, no, no, no), {3}, {{"Pad", 1, 1, 4}}, nullptr},
        {"pol alone", only(no, no, 1, no, no), {3}, {{"Pol", 1, 1, 4}}, nullptr},
        {"48 V alone", only(no, no, no, 1, no), {3}, {{"48v", 1, 1, 4}}, nullptr},
        {"mute alone onto a linked input: no propagation",
         only(no, no, no, no, 1),
         {9},
         {{"Mute", 1, 2, 2}},
         [&](const Project& p) {
             EXPECT_EQ(at(p, 8).mute, 0);
             EXPECT_EQ(at(p, 10).mute, 0);
         }},
        {"gain onto a linked input moves it alone",
         only(70, no, no, no, no),
         {9},
         {{"Gain", 70, 2, 2}},
         [&](const Project& p) {
             EXPECT_EQ(at(p, 8).gainPosition, 30);
             EXPECT_EQ(at(p, 9).gainAux, 10);
             EXPECT_EQ(at(p, 9).linkGroup, 1);
             EXPECT_EQ(at(p, 9).linkButton, 1);
         }},
        {"all five, gain first",
         only(60, 1, 1, 1, 1),
         {0},
         {{"Gain", 60, 1, 1}, {"Pad", 1, 1, 1}, {"Pol", 1, 1, 1}, {"48v", 1, 1, 1}, {"Mute", 1, 1, 1}},
         nullptr},
        {"a range across two units",
         only(no, 1, no, no, no),
         ChannelSettingsPaste::channelNumbers(10, 7),
         {{"Pad", 1, 1, 7}, {"Pad", 1, 1, 8}, {"Pad", 1, 2, 1}, {"Pad", 1, 2, 2}},
         nullptr},
        {"units 2 and 3, unit 3 not taken on",
         only(no, no, 1, no, no),
         ChannelSettingsPaste::units(3, 2),
         {{"Pol", 1, 2, 1},
          {"Pol", 1, 2, 2},
          {"Pol", 1, 2, 3},
          {"Pol", 1, 2, 4},
          {"Pol", 1, 2, 5},
          {"Pol", 1, 2, 6},
          {"Pol", 1, 2, 7},
          {"Pol", 1, 2, 8}},
         [&](const Project& p) {
             for (int c = 16; c < 24; ++c)
                 EXPECT_EQ(at(p, c).polarity, 1) << c; // changed offline, as any change
         }},
    };
    for (const PasteCase& t : cases) {
        SCOPED_TRACE(t.what);
        const ChannelSettingsArray before = project.live;
        const int undoable = channels.undoHistory().undoableCount();
        project.scenes.clearModifiedMarkers();
        units.sent.clear();

        ASSERT_EQ(paste.paste(t.settings, t.targets), ChannelSettingsPaste::Outcome::Pasted);

        EXPECT_EQ(parameters(units.sent), t.sent);
        if (t.check)
            t.check(project);
        EXPECT_EQ(channels.undoHistory().undoableCount(), std::min(undoable + 1, UndoHistory::MaxUndoable));
        EXPECT_TRUE(project.scenes.isModified(1));
        EXPECT_EQ(project.scenes.scene(1).settings, project.snapshotSettings());
        const ChannelSettingsArray after = project.live;

        channels.undo();
        EXPECT_EQ(project.live, before);
        channels.redo();
        EXPECT_EQ(project.live, after);
        channels.undo(); // the next case starts from the same state
        EXPECT_TRUE(op.shown.empty());
    }
}

TEST_F(ChannelSettingsPasteTest, MuteOntoEveryChannelSendsEachOnceAndOneUndoPutsEveryChannelBack)
{
    for (int c : {0, 9, 17})
        project.live[static_cast<std::size_t>(c)].mute = 1;
    const ChannelSettingsArray before = project.live;

    ASSERT_EQ(paste.paste(only(no, no, no, no, 1), ChannelSettingsPaste::units(1, 48)),
              ChannelSettingsPaste::Outcome::Pasted);

    // Units 1 and 2 only, each input once, none of those already muted.
    EXPECT_EQ(parameters(units.sent).size(), 16u - 2u);
    for (const ChannelSettings& s : project.live)
        EXPECT_EQ(s.mute, 1);
    channels.undo();
    EXPECT_EQ(project.live, before);
}

TEST_F(ChannelSettingsPasteTest, TheReducedRangeLimitsAPastedGainAsItLimitsAFader)
{
    units.reduced = true;
    project.live[2].gainPosition = 30;
    paste.paste(only(80, no, no, no, no), {2});
    EXPECT_EQ(project.live[2].gainPosition, ReducedRangeFloorPosition);
    EXPECT_EQ(project.live[2].gainAux, ReducedRangeFloorPosition);
    EXPECT_EQ(parameters(units.sent), (std::vector<Sent>{{"Gain", 69, 1, 3}}));
}

TEST_F(ChannelSettingsPasteTest, TheGuardAsksOnceNamingThreeAndNoLeavesEverythingAsItWas)
{
    channels.setConfirmPhantomOn(true);
    project.live[1].phantom48V = 1; // already on: not named
    const ChannelSettingsArray before = project.live;
    const int undoable = channels.undoHistory().undoableCount();
    op.answers = {Decision::No};

    EXPECT_EQ(paste.paste(only(50, no, no, 1, no), {0, 1, 2, 3, 4, 5}), ChannelSettingsPaste::Outcome::Declined);

    EXPECT_EQ(op.textsOf(Kind::Decide),
              (std::vector<std::string>{"Switch 48 V on for Channel 1, Channel 3, Channel 4 and 2 more?"}));
    EXPECT_EQ(project.live, before);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(channels.undoHistory().undoableCount(), undoable);

    op.clear();
    op.answers = {Decision::Yes};
    EXPECT_EQ(paste.paste(only(50, no, no, 1, no), {0, 1, 2, 3, 4, 5}), ChannelSettingsPaste::Outcome::Pasted);
    EXPECT_EQ(op.textsOf(Kind::Decide).size(), 1u);
    EXPECT_EQ(channels.undoHistory().undoableCount(), undoable + 1);
}

TEST_F(ChannelSettingsPasteTest, AHeldFaderAmongTheTargetsOrHeldStripsRefuseWithTheBeep)
{
    const ChannelSettingsArray before = project.live;
    channels.faderGrabbed(5);
    EXPECT_EQ(paste.paste(only(no, 1, no, no, no), ChannelSettingsPaste::units(1, 1)),
              ChannelSettingsPaste::Outcome::Refused);
    EXPECT_EQ(project.live, before);
    EXPECT_TRUE(units.sent.empty());

    // The held fader is not among these targets.
    EXPECT_EQ(paste.paste(only(no, 1, no, no, no), {12}), ChannelSettingsPaste::Outcome::Pasted);
    channels.faderReleased(5);

    // A drag begun while the guard asks is found after its box.
    channels.setConfirmPhantomOn(true);
    op.whileOpen = [this] { channels.faderGrabbed(20); };
    EXPECT_EQ(paste.paste(only(no, no, no, 1, no), {20}), ChannelSettingsPaste::Outcome::Refused);
    EXPECT_EQ(project.live[20].phantom48V, 0);
    channels.faderReleased(20);

    channels.setStripsHeld(true);
    EXPECT_EQ(paste.paste(only(no, no, 1, no, no), {30}), ChannelSettingsPaste::Outcome::Refused);
    EXPECT_EQ(project.live[30].polarity, 0);
    EXPECT_EQ(op.textsOf(Kind::Beep).size(), 3u);
}

TEST_F(ChannelSettingsPasteTest, APasteThatChangesNothingRecordsNothing)
{
    const int undoable = channels.undoHistory().undoableCount();
    EXPECT_EQ(paste.paste(only(no, 0, 0, 0, 0), {0, 1}), ChannelSettingsPaste::Outcome::NothingChanged);
    EXPECT_EQ(paste.paste(only(no, no, no, no, no), {0}), ChannelSettingsPaste::Outcome::NothingChanged);
    EXPECT_EQ(channels.undoHistory().undoableCount(), undoable);
    EXPECT_FALSE(project.scenes.isModified(1));
    EXPECT_TRUE(units.sent.empty());
}

} // namespace
