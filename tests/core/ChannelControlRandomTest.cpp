#include "core/model/GainMath.h"
#include "tests/core/ChannelControlFixture.h"

#include <map>
#include <random>
#include <tuple>

namespace deskpanel::test {
namespace {

// Long random runs of operator actions, undos, resets, unit restores and timer expiries
// on two present units. After every step the units must hold what the strips show, and
// the group flags must agree with the settings.
class ChannelControlRandom : public ChannelControlTest, public ::testing::WithParamInterface<unsigned> {
protected:
    static constexpr int Channels = 16; // units 1 and 2

    ChannelControlRandom() { units.present = {1, 2}; }

    void step(std::mt19937& random)
    {
        auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
        const int c = pick(0, Channels - 1);
        switch (pick(0, 15)) {
        case 0:
        case 1:
        case 2: control.switchChanged(pick(3, 7), c, pick(0, 1)); break;
        case 3:
            dialogs.choices = {pick(-1, 10)};
            control.switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), c, 0);
            break;
        case 4:
            control.faderGrabbed(c);
            control.faderMoved(c, pick(0, 72), pick(0, 3) == 0);
            if (pick(0, 1))
                control.faderMoved(c, pick(0, 72), false);
            control.faderReleased(c);
            break;
        case 5: control.singleGainMove(c, pick(0, 72)); break;
        case 6:
            control.setCurrentChannel(c);
            pick(0, 1) ? control.keyUp() : control.keyDown();
            break;
        case 7:
        case 8: control.undo(); break;
        case 9:
            control.saveUnitSettings(pick(1, 2));
            control.restoreUnitSettings(pick(1, 2));
            break;
        case 10:
            control.linkGroups().matrixCellPressed(pick(1, 10), c);
            control.linkGroups().matrixPointerEntered(pick(1, 10), pick(0, Channels - 1));
            control.linkGroups().matrixReleased();
            break;
        case 11: control.linkGroups().rebuildLinkGroups(); break;
        case 12: control.setMuteLinkedChannels(pick(0, 1) == 1); break;
        case 13:
            if (pick(0, 20) == 0)
                control.resetAllChannels();
            break;
        default: timers.advance(static_cast<std::uint32_t>(pick(0, 1200))); break;
        }
    }

    void expectUnitsHoldWhatTheStripsShow(int stepNumber)
    {
        for (; m_seen < units.sent.size(); ++m_seen) {
            const Sent& s = units.sent[m_seen];
            if (s.name != "fullResend")
                m_last[{s.name, s.unit, s.input}] = s.value;
        }
        for (const auto& [key, value] : m_last) {
            const auto& [name, unit, input] = key;
            const ChannelSettings& shown = live(channelIndex(unit, input));
            double expected = 0;
            if (name == "Gain")
                expected = gainDb(shown.gainPosition, units.reduced);
            else if (name == "Pol")
                expected = shown.polarity;
            else if (name == "Pad")
                expected = shown.pad;
            else if (name == "48v")
                expected = shown.phantom48V;
            else if (name == "Mute")
                expected = shown.mute;
            else if (name == "Link")
                expected = shown.linkButton;
            ASSERT_EQ(value, expected) << name << " of unit " << unit << " input " << input << " after step "
                                       << stepNumber;
        }
    }

    void expectConsistentSettings(int stepNumber)
    {
        const LinkMembership& membership = control.linkGroups().membership();
        for (int c = 0; c < MaxChannels; ++c) {
            const ChannelSettings& s = live(c);
            ASSERT_GE(s.gainPosition, 0) << c << " after step " << stepNumber;
            ASSERT_LE(s.gainPosition, 72) << c << " after step " << stepNumber;
            int flags = 0;
            for (int g = 1; g <= MaxLinkGroups; ++g)
                flags += membership.isMember(c, g) ? 1 : 0;
            ASSERT_LE(flags, 1) << c << " after step " << stepNumber;
            if (flags == 1) {
                ASSERT_EQ(membership.groupOf(c), s.linkGroup) << c << " after step " << stepNumber;
            }
        }
        ASSERT_LE(control.undoHistory().undoableCount(), 8);
    }

    // The last value each input was sent of each parameter.
    std::map<std::tuple<std::string, int, int>, double> m_last;
    std::size_t m_seen = 0;
};

TEST_P(ChannelControlRandom, UnitsAlwaysHoldWhatTheStripsShow)
{
    std::mt19937 random(GetParam());
    units.reduced = GetParam() % 2 == 1;
    for (int i = 0; i < 3000; ++i) {
        step(random);
        expectUnitsHoldWhatTheStripsShow(i);
        expectConsistentSettings(i);
        if (HasFatalFailure())
            return;
    }
}

INSTANTIATE_TEST_SUITE_P(Seeds, ChannelControlRandom, ::testing::Values(1u, 2u, 3u, 4u, 5u, 6u));

} // namespace
} // namespace deskpanel::test
