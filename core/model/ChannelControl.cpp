#include "core/model/ChannelControl.h"

#include "core/host/Clock.h"
#include "core/host/Operator.h"
#include "core/host/Timers.h"
#include "core/host/UnitSender.h"
#include "core/model/ChannelStripDialogs.h"
#include "core/model/GainMath.h"
#include "core/model/LiveState.h"
#include "core/model/PhantomRule.h"
#include "core/model/Project.h"
#include "core/model/SceneTracker.h"
#include "core/model/Text.h"

#include <algorithm>
#include <vector>

namespace deskpanel {

namespace {
int onOff(int state)
{
    return state > 0 ? 1 : 0;
}

const char* switchName(SwitchKind kind)
{
    switch (kind) {
    case SwitchKind::Pol: return "Pol";
    case SwitchKind::Pad: return "Pad";
    case SwitchKind::Phantom48V: return "48v";
    case SwitchKind::Mute: return "Mute";
    case SwitchKind::Link: return "Link";
    default: return "";
    }
}

std::int32_t& switchField(ChannelSettings& settings, SwitchKind kind)
{
    switch (kind) {
    case SwitchKind::Pol: return settings.polarity;
    case SwitchKind::Pad: return settings.pad;
    case SwitchKind::Phantom48V: return settings.phantom48V;
    case SwitchKind::Mute: return settings.mute;
    default: return settings.linkButton;
    }
}
} // namespace

ChannelControl::ChannelControl(Project& project, UnitSender& units, Timers& timers, SceneTracker& scenes)
    : m_project(project),
      m_units(units),
      m_timers(timers),
      m_scenes(scenes),
      m_linkGroups(project, units, m_undo, m_listeners)
{
    m_showsResetGainText.fill(true);
    m_timers.setHandler(TimerId::FullResend, [this] { onFullResendTimer(); });
    m_timers.setHandler(TimerId::LinkResend, [this] { onLinkResendTimer(); });
    m_timers.setHandler(TimerId::TemporaryUnlink, [this] { onTemporaryUnlinkTimer(); });
}

ChannelControl::~ChannelControl()
{
    for (TimerId id : {TimerId::FullResend, TimerId::LinkResend, TimerId::TemporaryUnlink}) {
        m_timers.stop(id);
        m_timers.clearHandler(id);
    }
}

// ---------------------------------------------------------------- helpers

void ChannelControl::send(const char* name, double value, int channel)
{
    const int unit = unitOfChannel(channel);
    if (m_units.isUnitPresent(unit))
        m_units.sendParameter(name, value, unit, inputOfChannel(channel));
}

void ChannelControl::setGain(int channel, int position)
{
    m_project.live[static_cast<std::size_t>(channel)].gainPosition = position;
    m_showsResetGainText[static_cast<std::size_t>(channel)] = false;
    m_listeners.channelChanged(channel, ChannelAspect::Gain);
}

void ChannelControl::closingSteps(bool updateFollowedScene)
{
    m_undo.clearRedo();
    m_scenes.markActiveSceneModified();
    if (updateFollowedScene)
        m_scenes.updateFollowedScene();
}

void ChannelControl::armFullResend(std::uint32_t periodMs)
{
    m_timers.start(TimerId::FullResend, periodMs);
}

void ChannelControl::setCurrentChannel(int channel)
{
    if (isValidChannel(channel))
        m_currentChannel = channel;
}

void ChannelControl::setMuteLinkedChannels(bool on)
{
    m_project.prefs.muteLinkedChannels = on ? 1 : 0;
}

// ---------------------------------------------------------------- switches

bool ChannelControl::confirmPhantomOn(const std::vector<int>& channels)
{
    if (!m_confirmPhantomOn || channels.empty() || !m_operator)
        return true;
    // One question, however many inputs: the first few by name.
    constexpr std::size_t Named = 3;
    std::string titles;
    for (std::size_t i = 0; i < channels.size() && i < Named; ++i) {
        if (i > 0)
            titles += ", ";
        titles += m_project.channels[static_cast<std::size_t>(channels[i])].name;
    }
    if (channels.size() > Named)
        titles += format(" and %d more", static_cast<int>(channels.size() - Named));
    return m_operator->decide(format(PhantomOnQuestion, titles.c_str())) == Decision::Yes;
}

bool ChannelControl::switchChanged(int kind, int channel, int state, PhantomConfirmation confirmation)
{
    if (!isValidChannel(channel))
        return false;
    const auto switchKind = static_cast<SwitchKind>(kind);
    if (switchKind == SwitchKind::Phantom48V && onOff(state) == 1 && confirmation == PhantomConfirmation::Ask &&
        m_project.live[static_cast<std::size_t>(channel)].phantom48V == 0 && !confirmPhantomOn({channel}))
        return false;
    switch (switchKind) {
    case SwitchKind::Pol:
    case SwitchKind::Pad:
    case SwitchKind::Phantom48V:
        m_currentChannel = channel;
        flagSwitchChange(switchKind, channel, state);
        break;
    case SwitchKind::Mute:
        m_currentChannel = channel;
        muteChange(channel, state);
        break;
    case SwitchKind::Link:
        m_currentChannel = channel;
        linkSwitchChange(channel, state);
        break;
    case SwitchKind::LinkGroupPopup:
        m_currentChannel = channel;
        openLinkGroupPopup(channel);
        break;
    case SwitchKind::ChannelTitle:
        m_currentChannel = channel;
        openChannelTitle(channel);
        break;
    default: break; // not a switch of a strip
    }
    return true;
}

// Pol, Pad and 48v act on the one input, linked or not.
void ChannelControl::flagSwitchChange(SwitchKind kind, int channel, int state)
{
    const int value = onOff(state);
    switchField(m_project.live[static_cast<std::size_t>(channel)], kind) = value;
    m_listeners.channelChanged(channel, ChannelAspect::Switches);
    send(switchName(kind), value, channel);
    m_undo.record(UndoEntry{channel, static_cast<std::int32_t>(kind), value});
    closingSteps(true);
}

void ChannelControl::muteChange(int channel, int state)
{
    const LinkedSet set = LinkedSet::of(m_project.live, channel);
    if (set.empty() || m_project.prefs.muteLinkedChannels == 0) {
        muteAlone(channel, state);
        return;
    }
    const int value = onOff(state);
    m_project.live[static_cast<std::size_t>(channel)].mute = value;
    m_listeners.channelChanged(channel, ChannelAspect::Switches);
    for (int member : set.members) {
        m_project.live[static_cast<std::size_t>(member)].mute = value;
        m_listeners.channelChanged(member, ChannelAspect::Switches);
        send("Mute", value, member);
        m_undo.record(member, UndoKind::Mute, value);
    }
    armFullResend();
    closingSteps(true);
}

void ChannelControl::muteAlone(int channel, int state)
{
    if (!isValidChannel(channel))
        return;
    const int value = onOff(state);
    m_project.live[static_cast<std::size_t>(channel)].mute = value;
    m_listeners.channelChanged(channel, ChannelAspect::Switches);
    send("Mute", value, channel);
    m_undo.record(channel, UndoKind::Mute, value);
    closingSteps(true);
}

void ChannelControl::linkSwitchChange(int channel, int state)
{
    const int value = onOff(state);
    ChannelSettings& settings = m_project.live[static_cast<std::size_t>(channel)];
    const int group = settings.linkGroup;
    settings.linkActive = value;
    settings.linkButton = value;
    m_listeners.channelChanged(channel, ChannelAspect::Switches);
    m_listeners.channelChanged(channel, ChannelAspect::LinkGroup); // the link indicator

    // The members of the group whose switch is off, before the rejoin changes anything.
    std::vector<int> switchedOff;
    if (group > 0)
        for (int k = 0; k < MaxChannels; ++k) {
            const ChannelSettings& member = m_project.live[static_cast<std::size_t>(k)];
            if (member.linkGroup == group && member.linkButton != 1)
                switchedOff.push_back(k);
        }

    const bool unitPresent = m_units.isUnitPresent(unitOfChannel(channel));
    if (value == 1 && group > 0) {
        m_linkGroups.rejoinForLinkSwitch(channel, group);
        if (unitPresent) {
            // The rejoin told every member "Link" 1 or 0; repeat what each switch shows
            // now (a member whose link was still engaged is lit again by the rejoin).
            for (int k : switchedOff)
                if (k != channel)
                    send("Link", m_project.live[static_cast<std::size_t>(k)].linkButton == 1 ? 1 : 0, k);
            send("Link", 1, channel);
        }
        m_undo.record(channel, UndoKind::LinkButton, 1);
    } else if (value == 1) {
        if (unitPresent)
            send("Link", 1, channel);
        m_undo.record(channel, UndoKind::LinkButton, 1);
    } else {
        if (unitPresent) {
            for (int k : switchedOff)
                send("Link", 0, k);
            send("Link", 0, channel);
        }
        m_undo.record(channel, UndoKind::LinkButton, 0);
    }
    if (unitPresent)
        m_timers.start(TimerId::LinkResend, LinkResendMs);
    closingSteps(false);
}

void ChannelControl::openLinkGroupPopup(int channel)
{
    if (m_dialogs) {
        const int checked = m_project.live[static_cast<std::size_t>(channel)].linkGroup;
        // Modal: timers and datagrams run meanwhile; only the index is kept across it.
        const int choice = m_dialogs->chooseLinkGroup(channel, checked);
        if (choice != ChannelStripDialogs::NothingChosen)
            m_linkGroups.assignFromPopup(channel, choice);
    }
    closingSteps(true);
}

void ChannelControl::openChannelTitle(int channel)
{
    if (m_dialogs) {
        const std::string heading = format("Enter the desired title for Channel %d", globalChannelNumber(channel));
        if (m_dialogs->editChannelTitle(channel, heading))
            m_listeners.channelChanged(channel, ChannelAspect::Name);
    }
    closingSteps(true);
}

// ---------------------------------------------------------------- gain

bool ChannelControl::reducedGainRange() const
{
    return m_units.reducedGainRange();
}

void ChannelControl::raiseDialogJustClosed()
{
    m_dialogJustClosed = true;
    m_dialogClosedAt = m_clock ? m_clock->nowMs() : 0;
}

bool ChannelControl::isDialogJustClosedRaised() const
{
    if (!m_dialogJustClosed)
        return false;
    return !m_clock || m_clock->nowMs() - m_dialogClosedAt <= DialogJustClosedMs;
}

void ChannelControl::singleGainMove(int channel, int position, bool altHeld)
{
    if (isDialogJustClosedRaised()) {
        // The click that closed a dialog must not move the fader under it.
        m_dialogJustClosed = false;
        return;
    }
    m_dialogJustClosed = false;
    moveSingle(channel, position, altHeld);
}

bool ChannelControl::gainMoveFromRemote(int channel, int position)
{
    if (!isValidChannel(channel))
        return true;
    if (!LinkedSet::of(m_project.live, channel).empty())
        return linkedGainMove(channel, position);
    moveSingle(channel, position, false);
    return true;
}

void ChannelControl::moveSingle(int channel, int position, bool altHeld)
{
    if (!isValidChannel(channel) || m_stripsHeld)
        return;
    // The reduced range bars gain beyond its floor; an input still below the floor from
    // before may step towards it.
    const int current = m_project.live[static_cast<std::size_t>(channel)].gainPosition;
    position = std::clamp(position, std::min(gainFloorPosition(reducedGainRange()), current), MaxGainPosition);

    if (altHeld && m_project.live[static_cast<std::size_t>(channel)].linkButton == 1 && !m_unlinkPending) {
        m_unlinkPending = true;
        m_unlinkChannel = channel;
        linkSwitchChange(channel, 0);
        m_timers.start(TimerId::TemporaryUnlink, TemporaryUnlinkMs);
    }

    setGain(channel, position);
    if (m_units.unitCount() > 0) {
        send("Gain", gainDb(position, reducedGainRange()), channel);
        armFullResend();
    }
    closingSteps(false);
}

bool ChannelControl::linkedGainMove(int channel, int position)
{
    if (!isValidChannel(channel) || m_stripsHeld)
        return true;
    const LinkedSet set = LinkedSet::of(m_project.live, channel);
    if (set.empty()) {
        singleGainMove(channel, position);
        return true;
    }
    const bool reduced = reducedGainRange();
    const int floor = std::min(gainFloorPosition(reduced), set.minPosition);
    const int reference = m_project.live[static_cast<std::size_t>(channel)].gainAux;

    // Limit the request so that every member stays on the fader; the members keep the
    // offsets between their references.
    if (position < reference - set.minReference + floor)
        position = reference - set.minReference + floor;
    if (position > reference - set.maxReference + MaxGainPosition)
        position = reference - set.maxReference + MaxGainPosition;
    const int offset = position - reference;
    std::vector<int> targets;
    targets.reserve(set.members.size());
    for (int member : set.members) {
        const int target = m_project.live[static_cast<std::size_t>(member)].gainAux + offset;
        if (target < floor || target > MaxGainPosition)
            return false; // the group is wider than the fader: the move is dropped
        targets.push_back(target);
    }
    bool changes = false;
    for (std::size_t i = 0; i < set.members.size(); ++i)
        changes = changes || targets[i] != m_project.live[static_cast<std::size_t>(set.members[i])].gainPosition;
    if (!changes)
        return true; // held at an end: nothing to send, nothing modified

    const bool anyUnit = m_units.unitCount() > 0;
    for (std::size_t i = 0; i < set.members.size(); ++i) {
        setGain(set.members[i], targets[i]);
        if (anyUnit)
            send("Gain", gainDb(targets[i], reduced), set.members[i]);
    }
    armFullResend();
    closingSteps(false);
    return true;
}

void ChannelControl::faderGrabbed(int channel)
{
    if (!isValidChannel(channel))
        return;
    m_currentChannel = channel;
    m_dragInProgress = true;
    recordGainUndo(channel);
}

void ChannelControl::recordGainUndo(int channel)
{
    if (!isValidChannel(channel))
        return;
    const LinkedSet set = LinkedSet::of(m_project.live, channel);
    if (set.empty()) {
        m_undo.record(channel, UndoKind::GainPosition, m_project.live[static_cast<std::size_t>(channel)].gainPosition);
        return;
    }
    for (int member : set.members)
        m_undo.record(member, UndoKind::GainPosition, m_project.live[static_cast<std::size_t>(member)].gainPosition);
}

void ChannelControl::faderMoved(int channel, int position, bool altHeld)
{
    if (!isValidChannel(channel))
        return;
    if (altHeld)
        singleGainMove(channel, position, true);
    else if (!LinkedSet::of(m_project.live, channel).empty())
        linkedGainMove(channel, position);
    else
        singleGainMove(channel, position);
}

void ChannelControl::faderReleased(int /*channel*/)
{
    m_dragInProgress = false;
    m_scenes.updateFollowedScene();
}

void ChannelControl::keyUp()
{
    const int channel = m_currentChannel;
    const int position = m_project.live[static_cast<std::size_t>(channel)].gainPosition;
    if (position <= 0 || (reducedGainRange() && position <= ReducedRangeFloorPosition))
        return;
    const LinkedSet set = LinkedSet::of(m_project.live, channel);
    if (set.empty())
        singleGainMove(channel, position - 1);
    else if (set.minPosition > 0)
        linkedGainMove(channel, position - 1);
}

void ChannelControl::keyDown()
{
    const int channel = m_currentChannel;
    const int position = m_project.live[static_cast<std::size_t>(channel)].gainPosition;
    const LinkedSet set = LinkedSet::of(m_project.live, channel);
    if (set.empty()) {
        if (position < MaxGainPosition)
            singleGainMove(channel, position + 1);
    } else if (set.maxPosition < MaxGainPosition) {
        linkedGainMove(channel, position + 1);
    }
}

// ---------------------------------------------------------------- undo

void ChannelControl::beep() const
{
    if (m_operator)
        m_operator->beep();
}

void ChannelControl::recordStateUndo(std::shared_ptr<const LiveState> before)
{
    m_undo.recordLiveState(std::move(before));
}

void ChannelControl::changeChannelTexts(ChannelTextChanges changes)
{
    std::erase_if(changes, [](const ChannelTextChange& c) { return !isValidChannel(c.channel); });
    if (changes.empty())
        return;
    auto texts = std::make_shared<const ChannelTextChanges>(std::move(changes));
    applyChannelTexts(*texts, false);
    m_undo.recordChannelTexts(std::move(texts));
}

void ChannelControl::applyChannelTexts(const ChannelTextChanges& changes, bool undoing)
{
    for (const ChannelTextChange& change : changes) {
        ChannelInfo& info = m_project.channels[static_cast<std::size_t>(change.channel)];
        info.name = undoing ? change.oldName : change.newName;
        info.notes = undoing ? change.oldNotes : change.newNotes;
        m_listeners.channelChanged(change.channel, ChannelAspect::Name);
    }
}

std::optional<UndoStep> ChannelControl::applyLiveStateStep(const UndoStep& step)
{
    // What the step replaces keeps the same settings alone when it is put back in turn.
    LiveState replacedState = LiveState::of(m_project);
    replacedState.kept = step.state->kept;
    auto replaced = std::make_shared<const LiveState>(std::move(replacedState));
    m_scenes.restoreLiveState(*step.state);
    return UndoStep{step.entry, std::move(replaced), nullptr};
}

// A switch entry holds the state it set: Undo sets the opposite, Redo the state again,
// and the same entry takes either back. A gain entry holds the position to go to and
// comes back holding the position it replaced.
std::optional<UndoStep> ChannelControl::applyChannelStep(const UndoEntry& entry, bool undoing)
{
    const int channel = entry.channel;
    ChannelSettings& settings = m_project.live[static_cast<std::size_t>(channel)];
    const auto kind = static_cast<SwitchKind>(entry.kind);
    switch (kind) {
    case SwitchKind::Pol:
    case SwitchKind::Pad:
    case SwitchKind::Phantom48V:
    case SwitchKind::Mute:
    case SwitchKind::Link: {
        const int value = undoing ? (entry.value == 0 ? 1 : 0) : onOff(entry.value);
        switchField(settings, kind) = value;
        m_listeners.channelChanged(channel, ChannelAspect::Switches);
        send(switchName(kind), value, channel);
        return UndoStep{entry, nullptr, nullptr};
    }
    default:
        if (entry.kind == static_cast<std::int32_t>(UndoKind::GainPosition)) {
            const int replaced = settings.gainPosition;
            const int position = std::clamp<int>(entry.value, 0, MaxGainPosition);
            setGain(channel, position);
            send("Gain", gainDb(position, reducedGainRange()), channel);
            return UndoStep{UndoEntry{channel, entry.kind, replaced}, nullptr, nullptr};
        }
        if (entry.kind == static_cast<std::int32_t>(UndoKind::GainReference)) {
            // The reference alone: nothing is sent, the fader stays.
            const int replaced = settings.gainAux;
            settings.gainAux = std::clamp<int>(entry.value, 0, MaxGainPosition);
            return UndoStep{UndoEntry{channel, entry.kind, replaced}, nullptr, nullptr};
        }
        return std::nullopt;
    }
}

// Undo takes the entries back newest first; what comes back takes them forward again in
// their own order.
UndoStep ChannelControl::applySteps(const UndoStep& step, bool undoing)
{
    std::vector<UndoEntry> back;
    const std::vector<UndoEntry>& entries = *step.steps;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const UndoEntry& entry = undoing ? entries[entries.size() - 1 - i] : entries[i];
        if (!isValidChannel(entry.channel))
            continue;
        if (const auto replaced = applyChannelStep(entry, undoing))
            back.push_back(replaced->entry);
    }
    if (undoing)
        std::reverse(back.begin(), back.end());
    UndoStep result{step.entry, nullptr, nullptr};
    result.steps = std::make_shared<const std::vector<UndoEntry>>(std::move(back));
    return result;
}

std::vector<int> ChannelControl::phantomSwitchedOnByStep(const UndoStep& step, bool undoing) const
{
    const auto kind = static_cast<UndoKind>(step.entry.kind);
    if (kind == UndoKind::LiveState)
        return step.state ? phantomSwitchedOnBy(m_project.live, step.state->settings, step.state->kept)
                          : std::vector<int>{};
    if (kind == UndoKind::Steps) {
        std::vector<int> channels;
        if (step.steps)
            for (const UndoEntry& entry : *step.steps)
                for (int channel : phantomSwitchedOnByStep(UndoStep{entry, nullptr, nullptr}, undoing))
                    if (std::find(channels.begin(), channels.end(), channel) == channels.end())
                        channels.push_back(channel);
        return channels;
    }
    if (kind != UndoKind::Phantom48V || !isValidChannel(step.entry.channel))
        return {};
    // Undo sets the opposite of the state the entry holds, Redo the state itself.
    const bool turnsOn = undoing ? step.entry.value == 0 : step.entry.value != 0;
    if (turnsOn && m_project.live[static_cast<std::size_t>(step.entry.channel)].phantom48V == 0)
        return {step.entry.channel};
    return {};
}

bool ChannelControl::mayTakeStep(const UndoStep& step)
{
    const bool recall = step.entry.kind == static_cast<std::int32_t>(UndoKind::LiveState);
    if (m_dragInProgress || (recall && m_scenes.isSceneLocked())) {
        beep();
        return false;
    }
    return true;
}

bool ChannelControl::confirmStep(const UndoStep& step, bool undoing)
{
    const std::vector<int> named = phantomSwitchedOnByStep(step, undoing);
    if (named.empty())
        return true;
    if (!confirmPhantomOn(named))
        return false; // the entry stays for a later Undo or Redo
    // The box ran a nested event loop: act only on what it asked about.
    const std::optional<UndoStep> now = undoing ? m_undo.newest() : m_undo.newestRedo();
    if (!now || now->serial != step.serial || phantomSwitchedOnByStep(*now, undoing) != named || m_dragInProgress) {
        beep();
        return false;
    }
    return true;
}

void ChannelControl::undo()
{
    takeStep(true);
}

void ChannelControl::redo()
{
    takeStep(false);
}

// Undo takes the newest entry and keeps what takes it forward again for Redo; Redo takes
// the newest of those and records what takes it back as a new entry.
void ChannelControl::takeStep(bool undoing)
{
    const std::optional<UndoStep> step = undoing ? m_undo.newest() : m_undo.newestRedo();
    if (!step)
        return;
    auto hold = m_gate.enter(undoing ? "Undo" : "Redo");
    if (!hold || !mayTakeStep(*step)) {
        if (!hold)
            beep();
        return;
    }
    if (!confirmStep(*step, undoing))
        return;
    if (undoing)
        m_undo.takeNewest();
    else
        m_undo.dropNewestRedo();
    if (const std::optional<UndoStep> back = applyStep(*step, undoing)) {
        if (undoing)
            m_undo.pushRedo(*back);
        else
            m_undo.recordForRedo(*back);
    }
}

std::optional<UndoStep> ChannelControl::applyStep(const UndoStep& step, bool undoing)
{
    switch (static_cast<UndoKind>(step.entry.kind)) {
    case UndoKind::LiveState: return step.state ? applyLiveStateStep(step) : std::nullopt;
    case UndoKind::ChannelTexts:
        if (!step.texts)
            return std::nullopt;
        applyChannelTexts(*step.texts, undoing);
        return step; // the same entry takes the texts either way
    case UndoKind::Steps: return step.steps ? std::optional(applySteps(step, undoing)) : std::nullopt;
    default: return isValidChannel(step.entry.channel) ? applyChannelStep(step.entry, undoing) : std::nullopt;
    }
}

// ---------------------------------------------------------------- unit settings, reset, recall

void ChannelControl::saveUnitSettings(int unitNumber)
{
    m_holder.save(m_project.live, unitNumber);
}

void ChannelControl::restoreUnitSettings(int unitNumber)
{
    if (!m_holder.hasSaved())
        return;
    // A copy: a send may open an error box, and a unit found meanwhile saves its own
    // inputs into the holding area.
    const UnitSettingsHolder::Inputs inputs = m_holder.held();
    restoreUnitSettingsFrom(unitNumber, inputs);
}

void ChannelControl::setChannelText(int channel, const std::string& name, const std::string& notes)
{
    if (!isValidChannel(channel))
        return;
    m_undo.clearRedo();
    ChannelInfo& info = m_project.channels[static_cast<std::size_t>(channel)];
    info.name = name;
    info.notes = notes;
    m_listeners.channelChanged(channel, ChannelAspect::Name);
}

void ChannelControl::setUnitText(int unitNumber, const std::string& name, const std::string& notes)
{
    if (!isValidUnitNumber(unitNumber))
        return;
    m_undo.clearRedo();
    UnitInfo& info = m_project.units[static_cast<std::size_t>(unitNumber - 1)];
    info.name = name;
    info.notes = notes;
    m_listeners.unitNameChanged(unitNumber);
}

void ChannelControl::restoreUnitSettingsFrom(int unitNumber, const UnitSettingsHolder::Inputs& inputs)
{
    if (!isValidUnitNumber(unitNumber))
        return;
    const bool reduced = reducedGainRange();
    for (int input = 1; input <= ChannelsPerUnit; ++input) {
        const int channel = channelIndex(unitNumber, input);
        const ChannelSettings& held = inputs[static_cast<std::size_t>(input - 1)];
        m_project.live[static_cast<std::size_t>(channel)] = held;
        m_showsResetGainText[static_cast<std::size_t>(channel)] = false;
        // The group flags follow the restored group, so the matrix and the rebuild agree
        // with the strip.
        m_linkGroups.followLinkGroupSetting(channel);
        send("Pol", held.polarity, channel);
        send("Pad", held.pad, channel);
        send("48v", held.phantom48V, channel);
        send("Mute", held.mute, channel);
        send("Link", held.linkActive, channel);
        send("Gain", gainDb(held.gainPosition, reduced), channel);
        m_listeners.channelChanged(channel, ChannelAspect::Switches);
        m_listeners.channelChanged(channel, ChannelAspect::Gain);
    }
}

void ChannelControl::resetAllChannels()
{
    resetAllChannels(RecallSafes{});
}

void ChannelControl::resetAllChannels(const RecallSafes& safes)
{
    for (int c = 0; c < MaxChannels; ++c) {
        const auto index = static_cast<std::size_t>(c);
        m_project.live[index] = RecallSafes::keptOnRecall(safes.flags(c), m_project.live[index], ChannelSettings{});
        m_showsResetGainText[index] = !safes.has(c, SafeFlag::Gain);
    }
    m_linkGroups.clearAllMemberships();
    for (int unit = 1; unit <= MaxUnits; ++unit) {
        if (!m_units.isUnitPresent(unit))
            continue;
        for (int input = 1; input <= ChannelsPerUnit; ++input) {
            const SafeFlags safe = safes.flags(channelIndex(unit, input));
            m_units.sendParameter("Link", 0, unit, input);
            if (!hasFlag(safe, SafeFlag::Mute))
                m_units.sendParameter("Mute", 0, unit, input);
            if (!hasFlag(safe, SafeFlag::Gain))
                m_units.sendParameter("Gain", MinGainDb, unit, input);
            if (!hasFlag(safe, SafeFlag::Pad))
                m_units.sendParameter("Pad", 0, unit, input);
            if (!hasFlag(safe, SafeFlag::Polarity))
                m_units.sendParameter("Pol", 0, unit, input);
            if (!hasFlag(safe, SafeFlag::Phantom48V))
                m_units.sendParameter("48v", 0, unit, input);
        }
    }
    m_listeners.allChannelsChanged();
}

void ChannelControl::applySceneChannel(int channel, const ChannelSettings& settings, GainSendOrder order,
                                       SafeFlags safe)
{
    if (!isValidChannel(channel))
        return;
    ChannelSettings applied = settings;
    // A scene read from a file may hold anything; keep the live settings in range.
    applied.gainPosition = std::clamp<std::int32_t>(applied.gainPosition, 0, MaxGainPosition);
    applied.gainAux = std::clamp<std::int32_t>(applied.gainAux, 0, MaxGainPosition);
    if (applied.linkGroup < 0 || applied.linkGroup > MaxLinkGroups)
        applied.linkGroup = 0;
    for (std::int32_t* flag : {&applied.polarity, &applied.pad, &applied.phantom48V, &applied.mute, &applied.linkButton,
                               &applied.linkActive})
        *flag = onOff(*flag);
    applied.linkActive = applied.linkButton; // a recall engages exactly the lit links
    ChannelSettings& live = m_project.live[static_cast<std::size_t>(channel)];
    applied = RecallSafes::keptOnRecall(safe, live, applied);
    const bool gainKept = hasFlag(safe, SafeFlag::Gain);
    if (!gainKept)
        m_showsResetGainText[static_cast<std::size_t>(channel)] = false;
    live = applied;

    const double db = gainDb(applied.gainPosition, reducedGainRange());
    if (order == GainSendOrder::GainFirst && !gainKept)
        send("Gain", db, channel);
    if (!hasFlag(safe, SafeFlag::Polarity))
        send("Pol", applied.polarity, channel);
    if (!hasFlag(safe, SafeFlag::Pad))
        send("Pad", applied.pad, channel);
    if (!hasFlag(safe, SafeFlag::Phantom48V))
        send("48v", applied.phantom48V, channel);
    if (!hasFlag(safe, SafeFlag::Mute))
        send("Mute", applied.mute, channel);
    send("Link", applied.linkButton, channel);
    if (order == GainSendOrder::GainLast && !gainKept)
        send("Gain", db, channel);
    m_linkGroups.followLinkGroupSetting(channel);
    m_listeners.channelChanged(channel, ChannelAspect::Switches);
    m_listeners.channelChanged(channel, ChannelAspect::Gain);
}

// ---------------------------------------------------------------- what the views read

const ChannelSettings& ChannelControl::settings(int channel) const
{
    static const ChannelSettings none{};
    return isValidChannel(channel) ? m_project.live[static_cast<std::size_t>(channel)] : none;
}

int ChannelControl::gainDbOf(int channel) const
{
    return gainDb(settings(channel).gainPosition, reducedGainRange());
}

std::string ChannelControl::overviewGainText(int channel) const
{
    if (isValidChannel(channel) && m_showsResetGainText[static_cast<std::size_t>(channel)])
        return ResetOverviewGainText;
    return deskpanel::overviewGainText(gainDbOf(channel));
}

std::string ChannelControl::underviewGainText(int channel) const
{
    if (isValidChannel(channel) && m_showsResetGainText[static_cast<std::size_t>(channel)])
        return ResetUnderviewGainText;
    return deskpanel::underviewGainText(gainDbOf(channel));
}

bool ChannelControl::isLinkIndicatorLit(int channel) const
{
    const ChannelSettings& s = settings(channel);
    return s.linkGroup > 0 && s.linkActive == 1;
}

LinkedSet ChannelControl::linkedSet(int channel) const
{
    return LinkedSet::of(m_project.live, channel);
}

// ---------------------------------------------------------------- timers

void ChannelControl::onFullResendTimer()
{
    m_timers.stop(TimerId::FullResend);
    m_units.fullResend();
}

// Every present unit gets each input's Link state as its switch shows it.
void ChannelControl::onLinkResendTimer()
{
    m_timers.stop(TimerId::LinkResend);
    // Unit by unit in the link's own order, so that a number two units carry is sent twice.
    for (int unit : m_units.unitNumbersInTableOrder()) {
        if (!isValidUnitNumber(unit))
            continue;
        for (int input = 1; input <= ChannelsPerUnit; ++input) {
            const ChannelSettings& s = m_project.live[static_cast<std::size_t>(channelIndex(unit, input))];
            m_units.sendParameter("Link", s.linkButton == 1 ? 1 : 0, unit, input);
        }
    }
}

// Runs every 20 ms while an Alt-drag's unlink is pending; once the drag is over the
// input is linked again and its new position becomes its reference.
void ChannelControl::onTemporaryUnlinkTimer()
{
    if (m_dragInProgress)
        return;
    m_timers.stop(TimerId::TemporaryUnlink);
    m_unlinkPending = false;
    linkSwitchChange(m_unlinkChannel, 1);
    if (m_units.unitCount() > 0)
        armFullResend(FullResendAfterUnlinkMs);
}

} // namespace deskpanel
