#include "core/model/ChannelSettingsPaste.h"

#include "core/host/Operator.h"
#include "core/host/UnitSender.h"
#include "core/model/ChannelControl.h"
#include "core/model/GainMath.h"
#include "core/model/Project.h"
#include "core/model/SceneTracker.h"

#include <algorithm>
#include <array>
#include <memory>

namespace deskpanel {

namespace {

struct Switch {
    std::optional<int> PartialSettings::*given;
    std::int32_t ChannelSettings::*live;
    const char* parameter;
    UndoKind undo;
};
// The order in which one channel's switches are sent, after its gain.
constexpr std::array<Switch, 4> Switches{{
    {&PartialSettings::pad, &ChannelSettings::pad, "Pad", UndoKind::Pad},
    {&PartialSettings::polarity, &ChannelSettings::polarity, "Pol", UndoKind::Polarity},
    {&PartialSettings::phantom48V, &ChannelSettings::phantom48V, "48v", UndoKind::Phantom48V},
    {&PartialSettings::mute, &ChannelSettings::mute, "Mute", UndoKind::Mute},
}};

std::vector<int> span(int from, int to, int low, int high)
{
    from = std::clamp(from, low, high);
    to = std::clamp(to, low, high);
    if (from > to)
        std::swap(from, to);
    std::vector<int> numbers;
    for (int n = from; n <= to; ++n)
        numbers.push_back(n);
    return numbers;
}

} // namespace

ChannelSettingsPaste::ChannelSettingsPaste(Project& project, ChannelControl& channels, UnitSender& units,
                                           SceneTracker& scenes, Operator& op)
    : m_project(project), m_channels(channels), m_units(units), m_scenes(scenes), m_operator(op)
{}

std::vector<int> ChannelSettingsPaste::channelNumbers(int from, int to)
{
    std::vector<int> channels = span(from, to, 1, MaxChannels);
    for (int& c : channels)
        c -= 1;
    return channels;
}

std::vector<int> ChannelSettingsPaste::units(int from, int to)
{
    std::vector<int> channels;
    for (int unit : span(from, to, 1, MaxUnits))
        for (int input = 1; input <= ChannelsPerUnit; ++input)
            channels.push_back(channelIndex(unit, input));
    return channels;
}

// A fader held by the mouse keeps its channel; the identity check holds every strip.
bool ChannelSettingsPaste::refused(const std::vector<int>& channels) const
{
    if (m_channels.stripsHeld())
        return true;
    return m_channels.isDragInProgress() &&
           std::binary_search(channels.begin(), channels.end(), m_channels.currentChannel());
}

ChannelSettingsPaste::Outcome ChannelSettingsPaste::paste(const PartialSettings& given, std::vector<int> channels)
{
    // A value out of range is left out rather than forced into range.
    PartialSettings settings = given;
    if (settings.gainDb && (*settings.gainDb < MinGainDb || *settings.gainDb > MaxGainDb))
        settings.gainDb.reset();
    for (const Switch& s : Switches)
        if (const auto& v = settings.*s.given; v && *v != 0 && *v != 1)
            (settings.*s.given).reset();

    channels.erase(std::remove_if(channels.begin(), channels.end(), [](int c) { return !isValidChannel(c); }),
                   channels.end());
    std::sort(channels.begin(), channels.end());
    channels.erase(std::unique(channels.begin(), channels.end()), channels.end());
    if (settings.empty() || channels.empty())
        return Outcome::NothingChanged;
    // One operation: not inside another's box, and nothing else inside its own.
    auto hold = m_channels.gate().enter("Paste");
    if (!hold || refused(channels)) {
        m_operator.beep();
        return Outcome::Refused;
    }

    // One question before anything changes, naming the inputs it would switch on.
    if (settings.phantom48V == 1) {
        const auto turnedOn = [&] {
            std::vector<int> on;
            for (int c : channels)
                if (m_project.live[static_cast<std::size_t>(c)].phantom48V == 0)
                    on.push_back(c);
            return on;
        };
        const std::vector<int> named = turnedOn();
        if (!m_channels.confirmPhantomOn(named))
            return Outcome::Declined;
        // The box ran timers and datagrams: a drag may have begun, the strips been held,
        // or another input be about to go to 48 V than the question named.
        if (refused(channels) || turnedOn() != named) {
            m_operator.beep();
            return Outcome::Refused;
        }
    }

    // Each change records what takes it back; together they are one undo step.
    m_channels.beginUndoGroup();
    bool changed = false;
    for (int c : channels)
        changed = pasteOne(c, settings) || changed;
    m_channels.endUndoGroup();
    if (!changed)
        return Outcome::NothingChanged;
    m_scenes.markActiveSceneModified();
    m_scenes.updateFollowedScene();
    return Outcome::Pasted;
}

bool ChannelSettingsPaste::pasteOne(int channel, const PartialSettings& settings)
{
    ChannelSettings& live = m_project.live[static_cast<std::size_t>(channel)];
    bool changed = false;
    if (settings.gainDb) {
        // Limited as the fader limits a move: never past the reduced range's floor, though
        // an input already beyond it may stay where it is.
        const int requested = MaxGainPosition - (*settings.gainDb - MinGainDb);
        const int floor = std::min(gainFloorPosition(m_units.reducedGainRange()), static_cast<int>(live.gainPosition));
        const int position = std::clamp(requested, floor, MaxGainPosition);
        if (position != live.gainPosition) {
            m_channels.recordUndo(
                UndoEntry{channel, static_cast<std::int32_t>(UndoKind::GainPosition), live.gainPosition});
            // A command, not a click: the click that closed a dialog has nothing to do here.
            m_channels.keyPressed();
            m_channels.singleGainMove(channel, position);
            changed = true;
        }
        if (live.gainAux != live.gainPosition) {
            m_channels.recordUndo(UndoEntry{channel, static_cast<std::int32_t>(UndoKind::GainReference), live.gainAux});
            live.gainAux = live.gainPosition;
            changed = true;
        }
    }
    bool switched = false;
    for (const Switch& s : Switches) {
        const std::optional<int>& value = settings.*s.given;
        if (!value || live.*s.live == *value)
            continue;
        live.*s.live = *value;
        m_channels.recordUndo(UndoEntry{channel, static_cast<std::int32_t>(s.undo), *value});
        if (m_units.isUnitPresent(unitOfChannel(channel)))
            m_units.sendParameter(s.parameter, *value, unitOfChannel(channel), inputOfChannel(channel));
        switched = true;
    }
    if (switched)
        m_channels.notifyChannelChanged(channel, ChannelAspect::Switches);
    return changed || switched;
}

} // namespace deskpanel
