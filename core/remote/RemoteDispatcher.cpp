#include "core/remote/RemoteDispatcher.h"

#include "core/host/Clock.h"
#include "core/host/Timers.h"
#include "core/model/ChannelControl.h"
#include "core/model/GainMath.h"
#include "core/model/PhantomRule.h"
#include "core/model/Project.h"
#include "core/model/SceneOperations.h"
#include "core/model/Text.h"
#include "core/remote/RemoteStateReader.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace deskpanel {
namespace {

constexpr int ReducedRangeTopDb = 69;

// A switch takes i 0/1, f 0.0/1.0 (button surfaces send floats) or T/F.
std::optional<int> switchValue(const OscMessage& message, std::string& error)
{
    if (message.arguments.size() != 1) {
        error = "one argument expected";
        return std::nullopt;
    }
    const OscArgument& argument = message.arguments[0];
    std::optional<double> value;
    if (const auto* b = std::get_if<bool>(&argument))
        return *b ? 1 : 0;
    if (const auto* i = std::get_if<std::int32_t>(&argument))
        value = *i;
    else if (const auto* f = std::get_if<float>(&argument))
        value = *f;
    if (!value) {
        error = "wrong argument type, i, f, T or F expected";
        return std::nullopt;
    }
    if (*value != 0 && *value != 1) {
        error = "value out of range, 0 or 1 expected";
        return std::nullopt;
    }
    return static_cast<int>(*value);
}

// A number of dB: i, f, d or h.
std::optional<double> numberValue(const OscArgument& argument)
{
    if (const auto* i = std::get_if<std::int32_t>(&argument))
        return *i;
    if (const auto* f = std::get_if<float>(&argument))
        return *f;
    if (const auto* d = std::get_if<double>(&argument))
        return *d;
    if (const auto* h = std::get_if<std::int64_t>(&argument))
        return static_cast<double>(std::clamp<std::int64_t>(*h, -1000000, 1000000));
    return std::nullopt;
}

SwitchKind switchKindOf(RemoteAction action)
{
    switch (action) {
    case RemoteAction::ChannelPad: return SwitchKind::Pad;
    case RemoteAction::ChannelPolarity: return SwitchKind::Pol;
    case RemoteAction::ChannelPhantom: return SwitchKind::Phantom48V;
    default: return SwitchKind::Mute;
    }
}

} // namespace

OscMessage remoteError(const std::string& what, const std::string& address)
{
    // An answer never grows with what was sent: at most MaxEchoedAddressBytes of it.
    std::string echoed = address.substr(0, MaxEchoedAddressBytes);
    return {"/deskpanel/error", {what + ": " + echoed}};
}

RemoteDispatcher::RemoteDispatcher(Project& project, ChannelControl& channels, SceneOperations& scenes,
                                   const RemoteStateReader& state, Timers& timers, const Clock& clock,
                                   TimerId grabTimer)
    : m_project(project),
      m_channels(channels),
      m_scenes(scenes),
      m_state(state),
      m_timers(timers),
      m_clock(clock),
      m_grabTimer(grabTimer)
{
    m_timers.setHandler(m_grabTimer, [this] { onGrabReleaseTimer(); });
}

RemoteDispatcher::~RemoteDispatcher()
{
    m_timers.stop(m_grabTimer);
    m_timers.clearHandler(m_grabTimer);
}

bool isRemoteChange(const RemoteAddressMatch& match, const OscMessage& message)
{
    if (!match.error.empty())
        return false;
    switch (match.action) {
    case RemoteAction::ChannelGain:
    case RemoteAction::ChannelGainStep:
    case RemoteAction::ChannelMute:
    case RemoteAction::ChannelPad:
    case RemoteAction::ChannelPolarity:
    case RemoteAction::ChannelPhantom: return !message.arguments.empty();
    case RemoteAction::GroupMute:
    case RemoteAction::ChannelPreset:
    case RemoteAction::SceneRecall: return true;
    default: return false;
    }
}

bool RemoteDispatcher::apply(const RemoteAddressMatch& match, const OscMessage& message,
                             std::vector<OscMessage>& answers)
{
    if (match.action == RemoteAction::ChannelPreset)
        return preset(match, message, answers); // every channel matched, as one paste
    if (match.numbers.size() <= 1)
        return applyOne(match, message, answers);
    // A pattern: every matching channel, group or unit in turn, as if each were sent alone.
    bool all = true;
    for (int number : match.numbers) {
        RemoteAddressMatch one = match;
        one.number = number;
        one.numbers = {number};
        all = applyOne(one, message, answers) && all;
    }
    return all;
}

bool RemoteDispatcher::applyOne(const RemoteAddressMatch& match, const OscMessage& message,
                                std::vector<OscMessage>& answers)
{
    const bool query = message.arguments.empty();
    switch (match.action) {
    case RemoteAction::ChannelGainStep:
        if (query) {
            answers.push_back(remoteError("one argument expected", message.address));
            return false;
        }
        return gainStep(match.number, message, answers);
    case RemoteAction::ChannelGain:
    case RemoteAction::ChannelMute:
    case RemoteAction::ChannelPad:
    case RemoteAction::ChannelPolarity:
    case RemoteAction::ChannelPhantom:
        if (query) {
            answers.push_back(m_state.channelValue(match.action, match.number));
            return true;
        }
        return channelChange(match, message, answers);
    case RemoteAction::GroupMute:
        if (query) {
            answers.push_back(remoteError("one argument expected", message.address));
            return false;
        }
        return groupMute(match.number, message, answers);
    case RemoteAction::SceneRecall: return recall(message, answers);
    case RemoteAction::ChannelName:
    case RemoteAction::SceneActive:
    case RemoteAction::UnitState:
    case RemoteAction::Info:
    case RemoteAction::Ping:
        if (!query) {
            answers.push_back(remoteError("no arguments expected", message.address));
            return false;
        }
        if (match.action == RemoteAction::ChannelName)
            answers.push_back(m_state.channelValue(match.action, match.number));
        else if (match.action == RemoteAction::SceneActive)
            answers.push_back(m_state.activeScene());
        else if (match.action == RemoteAction::UnitState)
            answers.push_back(m_state.unitState(match.number));
        else if (match.action == RemoteAction::Info)
            answers.push_back(m_state.info(m_programVersion));
        else
            answers.push_back({"/deskpanel/pong", {}});
        return true;
    default: break; // the subscription rows are served by the remote control itself
    }
    answers.push_back(remoteError("unknown address", message.address));
    return false;
}

std::string RemoteDispatcher::refusalFor(const std::vector<int>& channels) const
{
    if (m_channels.stripsHeld())
        return "the identity check holds the strips";
    if (m_channels.isDragInProgress()) {
        const int held = m_channels.currentChannel();
        // The channel under the operator's hand, and every channel a move would carry with it.
        for (int channel : channels) {
            const std::vector<int> members = m_channels.linkedSet(channel).members;
            if (channel == held || std::find(members.begin(), members.end(), held) != members.end())
                return "the operator holds the fader";
        }
    }
    return {};
}

bool RemoteDispatcher::channelChange(const RemoteAddressMatch& match, const OscMessage& message,
                                     std::vector<OscMessage>& answers)
{
    const int channel = match.number;
    if (match.action == RemoteAction::ChannelGain)
        return gainChange(channel, message, answers);
    std::string error;
    const std::optional<int> value = switchValue(message, error);
    if (!value) {
        answers.push_back(remoteError(error, message.address));
        return false;
    }
    const bool phantomOn = match.action == RemoteAction::ChannelPhantom && *value == 1;
    error = phantomRefusal(phantomOn ? 1 : 0, "48 V from remote is not allowed");
    if (error.empty())
        error = refusalFor({channel});
    if (!error.empty()) {
        answers.push_back(remoteError(error, message.address));
        return false;
    }
    // A change that changes nothing takes no undo entry, sends nothing and marks nothing.
    if (m_state.switchState(match.action, channel) == *value)
        return true;
    // As the strip's switch, except that the arrow keys stay on the operator's channel,
    // and that 48 V asks no question: nothing a remote does may wait on a box.
    const int current = m_channels.currentChannel();
    m_channels.switchChanged(static_cast<int>(switchKindOf(match.action)), channel, *value,
                             ChannelControl::PhantomConfirmation::Given);
    m_channels.setCurrentChannel(current);
    return true;
}

bool RemoteDispatcher::gainChange(int channel, const OscMessage& message, std::vector<OscMessage>& answers)
{
    if (message.arguments.size() != 1) {
        answers.push_back(remoteError("one argument expected", message.address));
        return false;
    }
    const std::optional<double> number = numberValue(message.arguments[0]);
    if (!number) {
        answers.push_back(remoteError("wrong argument type, f, i, d or h expected", message.address));
        return false;
    }
    const double requested = *number;
    if (!std::isfinite(requested)) {
        answers.push_back(remoteError("not a finite number", message.address));
        return false;
    }
    const int rounded = static_cast<int>(std::clamp(std::round(requested), -1.0, 1000.0));
    int db = rounded;
    if (db < MinGainDb || db > MaxGainDb) {
        answers.push_back(remoteError("value out of range, 8..80 dB expected", message.address));
        return false;
    }
    return moveGainTo(channel, db, message.address, answers);
}

bool RemoteDispatcher::gainStep(int channel, const OscMessage& message, std::vector<OscMessage>& answers)
{
    const auto* step = message.arguments.size() == 1 ? std::get_if<std::int32_t>(&message.arguments[0]) : nullptr;
    if (!step || *step == 0 || *step < -MaxGainStepDb || *step > MaxGainStepDb) {
        answers.push_back(remoteError("i: -10..-1 or 1..10 dB expected", message.address));
        return false;
    }
    const int top = m_channels.reducedGainRange() ? ReducedRangeTopDb : MaxGainDb;
    const int db = std::clamp(m_channels.gainDbOf(channel) + *step, MinGainDb, top);
    return moveGainTo(channel, db, message.address, answers);
}

bool RemoteDispatcher::moveGainTo(int channel, int requestedDb, const std::string& address,
                                  std::vector<OscMessage>& answers)
{
    const std::string refusal = refusalFor({channel});
    if (!refusal.empty()) {
        answers.push_back(remoteError(refusal, address));
        return false;
    }
    const int rounded = requestedDb;
    int db = requestedDb;
    if (m_channels.reducedGainRange())
        db = std::min(db, ReducedRangeTopDb);
    // Already there: no grab, no undo entry, nothing sent, nothing marked.
    if (m_channels.gainDbOf(channel) == db) {
        if (db != rounded)
            answers.push_back(m_state.channelValue(RemoteAction::ChannelGain, channel)); // limited
        return true;
    }

    grab(channel);
    if (!m_channels.gainMoveFromRemote(channel, MaxGainDb - db)) {
        answers.push_back(remoteError("linked move dropped: the group is wider than the fader", address));
        return false;
    }
    if (m_channels.gainDbOf(channel) != rounded)
        answers.push_back(m_state.channelValue(RemoteAction::ChannelGain, channel)); // limited
    return true;
}

bool RemoteDispatcher::groupMute(int group, const OscMessage& message, std::vector<OscMessage>& answers)
{
    std::string error;
    const std::optional<int> value = switchValue(message, error);
    std::vector<int> members;
    for (int channel = 0; channel < MaxChannels; ++channel)
        if (m_project.live[static_cast<std::size_t>(channel)].linkGroup == group)
            members.push_back(channel);
    if (value)
        error = refusalFor(members);
    if (!error.empty()) {
        answers.push_back(remoteError(error, message.address));
        return false;
    }
    const int current = m_channels.currentChannel();
    for (int channel : members)
        m_channels.muteAlone(channel, *value);
    m_channels.setCurrentChannel(current);
    return true;
}

bool RemoteDispatcher::preset(const RemoteAddressMatch& match, const OscMessage& message,
                              std::vector<OscMessage>& answers)
{
    const auto* name = message.arguments.size() == 1 ? std::get_if<std::string>(&message.arguments[0]) : nullptr;
    if (!name) {
        answers.push_back(remoteError("s: a preset's name expected", message.address));
        return false;
    }
    const std::optional<PartialSettings> settings = m_findPreset ? m_findPreset(*name) : std::nullopt;
    std::string refusal;
    if (!settings || !m_pastePreset)
        refusal = "no such preset";
    else
        refusal = refusalFor(match.numbers);
    if (refusal.empty() && settings->phantom48V == 1) {
        const bool switchesOn = std::any_of(match.numbers.begin(), match.numbers.end(), [&](int channel) {
            return m_project.live[static_cast<std::size_t>(channel)].phantom48V == 0;
        });
        refusal = phantomRefusal(switchesOn ? 1 : 0, "48 V from remote is not allowed");
    }
    if (!refusal.empty()) {
        answers.push_back(remoteError(refusal, message.address));
        return false;
    }
    const int current = m_channels.currentChannel();
    m_pastePreset(*settings, match.numbers);
    m_channels.setCurrentChannel(current);
    return true;
}

// The remote's 48 V rule for a change that would switch it on for `count` inputs: never
// while the 48 V guard is on (it asks at the desk, and nothing remote opens a box), and
// only with "Allow 48 V from remote".
std::string RemoteDispatcher::phantomRefusal(int count, const std::string& notAllowed) const
{
    if (count == 0)
        return {};
    if (m_channels.confirmsPhantomOn())
        return "the 48 V guard asks at the desk";
    return m_allowPhantom ? std::string() : notAllowed;
}

int RemoteDispatcher::phantomSwitchOnCount(int position) const
{
    if (!m_project.scenes.isStoredPosition(position))
        return 0; // the Blank Scene switches everything off
    const ChannelSettingsArray& stored = m_project.scenes.scene(position).settings;
    return static_cast<int>(phantomSwitchedOnBy(m_project.live, stored, m_project.recallSafes).size());
}

bool RemoteDispatcher::recall(const OscMessage& message, std::vector<OscMessage>& answers)
{
    if (message.arguments.size() != 1) {
        answers.push_back(remoteError("one argument expected", message.address));
        return false;
    }
    int position = -1;
    if (const auto* number = std::get_if<std::int32_t>(&message.arguments[0])) {
        if (*number >= 0 && *number < m_project.scenes.count())
            position = *number;
    } else if (const auto* name = std::get_if<std::string>(&message.arguments[0])) {
        for (int p = 0; p < m_project.scenes.count() && position < 0; ++p)
            if (m_state.sceneName(p) == *name)
                position = p;
    } else {
        answers.push_back(remoteError("wrong argument type, s or i expected", message.address));
        return false;
    }
    std::string refusal;
    if (position < 0)
        refusal = "no such scene";
    else if (m_project.recallSafesUnreadable)
        refusal = "the recall safes could not be read";
    else if (m_scenes.sceneLock())
        refusal = "the scene lock is on";
    else if (m_channels.stripsHeld())
        refusal = "the identity check holds the strips";
    else if (m_channels.isDragInProgress())
        refusal = "the operator holds a fader";
    else if (const int count = phantomSwitchOnCount(position); count > 0)
        refusal = phantomRefusal(
            count, format("the recall would switch 48 V on for %d channel%s", count, count == 1 ? "" : "s"));
    if (!refusal.empty()) {
        answers.push_back(remoteError(refusal, message.address));
        return false;
    }
    m_scenes.recallSceneWithoutPrompt(position);
    return true;
}

// ------------------------------------------------------------------ grabs

void RemoteDispatcher::grab(int channel)
{
    const auto index = static_cast<std::size_t>(channel);
    if (!m_grabbed[index]) {
        m_channels.recordGainUndo(channel);
        m_grabbed[index] = true;
    }
    m_lastMoveAt[index] = m_clock.nowMs();
    if (!m_timers.isRunning(m_grabTimer))
        m_timers.start(m_grabTimer, GrabMs);
}

void RemoteDispatcher::onGrabReleaseTimer()
{
    const std::uint32_t now = m_clock.nowMs();
    bool released = false;
    std::uint32_t next = 0;
    for (std::size_t c = 0; c < m_grabbed.size(); ++c) {
        if (!m_grabbed[c])
            continue;
        const std::uint32_t since = now - m_lastMoveAt[c];
        if (since >= GrabMs) {
            m_grabbed[c] = false;
            released = true;
        } else if (next == 0 || GrabMs - since < next) {
            next = GrabMs - since;
        }
    }
    if (next > 0)
        m_timers.start(m_grabTimer, next);
    else
        m_timers.stop(m_grabTimer);
    if (released)
        m_scenes.updateFollowedScene(); // what releasing a fader does
}

} // namespace deskpanel
