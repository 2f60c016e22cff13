#include "core/stage/StageControl.h"

#include "core/host/Clock.h"
#include "core/host/Timers.h"
#include "core/host/UnitSender.h"
#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "core/model/SceneOperations.h"

#include <algorithm>

namespace deskpanel {
namespace {

constexpr std::uint32_t RateWindowMs = 1000;
constexpr std::uint32_t RecallWindowMs = 1000;

constexpr RemoteAction ChannelActions[] = {RemoteAction::ChannelGain,    RemoteAction::ChannelMute,
                                           RemoteAction::ChannelPad,     RemoteAction::ChannelPolarity,
                                           RemoteAction::ChannelPhantom, RemoteAction::ChannelName};

} // namespace

StageControl::StageControl(Project& project, ChannelControl& channels, SceneOperations& scenes, Timers& timers,
                           const Clock& clock, RemoteStateReader::UnitStateSource unitState, PageOutput& output)
    : m_project(project),
      m_channels(channels),
      m_timers(timers),
      m_clock(clock),
      m_output(output),
      m_state(project, channels, std::move(unitState)),
      m_dispatcher(project, channels, scenes, m_state, timers, clock, TimerId::StageGrabRelease),
      m_scenes(scenes)
{
    m_channels.addListener(this);
    m_scenes.addListener(this);
    m_timers.setHandler(TimerId::StageFrame, [this] { onFrame(); });
}

StageControl::~StageControl()
{
    m_timers.stop(TimerId::StageFrame);
    m_timers.clearHandler(TimerId::StageFrame);
    m_channels.removeListener(this);
    m_scenes.removeListener(this);
}

void StageControl::setAllowPhantom(bool allow)
{
    if (allow == m_dispatcher.allowPhantom())
        return;
    m_dispatcher.setAllowPhantom(allow);
    for (const auto& [id, page] : m_pages)
        if (page.greeted)
            m_output.send(id, {"/deskpanel/allow/phantom", {std::int32_t{allow ? 1 : 0}}});
}

void StageControl::setProgramVersion(std::string version)
{
    m_programVersion = version;
    m_dispatcher.setProgramVersion(std::move(version));
}

std::optional<int> StageControl::open(const std::string& device, StagePermission permission)
{
    if (pageCount() >= MaxPages)
        return std::nullopt;
    const int id = m_nextPage++;
    Page& page = m_pages[id];
    page.device = device;
    page.permission = permission;
    armFrame();
    return id;
}

void StageControl::greet(int id, Page& page)
{
    page.greeted = true;
    m_output.send(
        id, {"/deskpanel/hello",
             {page.device, std::string(permissionText(page.permission)), m_programVersion, m_project.projectName}});
    m_output.send(id, {"/deskpanel/allow/phantom", {std::int32_t{m_dispatcher.allowPhantom() ? 1 : 0}}});
    page.toldBusy = m_channels.gate().isHeld();
    m_output.send(id, {"/deskpanel/busy", {std::int32_t{page.toldBusy ? 1 : 0}}});
}

void StageControl::close(int page)
{
    m_pages.erase(page);
    armFrame();
}

void StageControl::unreadable(int id, const std::string& error)
{
    auto it = m_pages.find(id);
    if (it == m_pages.end() || overRate(it->second))
        return;
    m_output.send(id, remoteError("unreadable message", error));
}

bool StageControl::overRate(Page& page)
{
    const std::uint32_t now = m_clock.nowMs();
    if (now - page.rateWindowStart >= RateWindowMs) {
        page.rateWindowStart = now;
        page.messagesInWindow = 0;
    }
    return ++page.messagesInWindow > MaxMessagesPerSecond;
}

void StageControl::received(int id, const OscMessage& message)
{
    auto it = m_pages.find(id);
    if (it == m_pages.end())
        return;
    Page& page = it->second;
    if (overRate(page))
        return; // a page past its rate is not answered either: that would double the flood
    std::vector<OscMessage> answers;
    const RemoteAddressMatch match = matchRemoteAddress(message.address);
    if (!match.error.empty()) {
        answers.push_back(remoteError(match.error, message.address));
    } else if (match.action == RemoteAction::MetersSubscribe) {
        subscribeMeters(page, message, answers);
    } else if (match.action == RemoteAction::Subscribe || match.action == RemoteAction::Unsubscribe ||
               match.action == RemoteAction::Reply) {
        answers.push_back(remoteError("a page is subscribed while it is open", message.address));
    } else if (match.action == RemoteAction::SceneList && message.arguments.empty()) {
        mark(SceneListItem);
    } else if (isRemoteChange(match, message)) {
        applyChange(page, match, message, answers);
    } else {
        m_dispatcher.apply(match, message, answers);
    }
    for (const OscMessage& answer : answers)
        m_output.send(id, answer);
}

std::string StageControl::refusalFor(const Page& page, const RemoteAddressMatch& match) const
{
    if (page.permission == StagePermission::View)
        return "not allowed for a view device";
    if (match.action == RemoteAction::SceneRecall && page.permission != StagePermission::Recall)
        return "scene recall is not allowed for this device";
    if (m_channels.gate().isHeld())
        return "busy";
    if (match.action == RemoteAction::SceneRecall) {
        const std::uint32_t now = m_clock.nowMs();
        const auto recent = std::count_if(page.recalls.begin(), page.recalls.end(),
                                          [now](std::uint32_t at) { return now - at < RecallWindowMs; });
        if (recent >= MaxRecallsPerSecond)
            return "too many recalls, at most 2 a second";
    }
    return {};
}

void StageControl::applyChange(Page& page, const RemoteAddressMatch& match, const OscMessage& message,
                               std::vector<OscMessage>& answers)
{
    if (const std::string refusal = refusalFor(page, match); !refusal.empty()) {
        answers.push_back(remoteError(refusal, message.address));
        presentValues(match, answers);
        return;
    }
    // Nothing a page caused may open a box at the desk: a failed send is the page's answer.
    const unsigned long long failedBefore = m_units ? m_units->failedSends() : 0;
    if (m_units)
        m_units->setQuietFailures(true);
    m_channels.beginUndoGroup();
    const std::size_t answered = answers.size();
    const bool done = m_dispatcher.apply(match, message, answers);
    m_channels.endUndoGroup();
    if (m_units)
        m_units->setQuietFailures(false);
    if (!done && answers.size() > answered)
        presentValues(match, answers);
    if (done && match.action == RemoteAction::SceneRecall) {
        const std::uint32_t now = m_clock.nowMs();
        std::erase_if(page.recalls, [now](std::uint32_t at) { return now - at >= RecallWindowMs; });
        page.recalls.push_back(now);
    }
    if (m_units && m_units->failedSends() != failedBefore)
        answers.push_back(remoteError("a datagram to a unit could not be sent", message.address));
}

void StageControl::presentValues(const RemoteAddressMatch& match, std::vector<OscMessage>& answers) const
{
    RemoteAction action = match.action;
    if (action == RemoteAction::ChannelGainStep)
        action = RemoteAction::ChannelGain;
    switch (action) {
    case RemoteAction::ChannelGain:
    case RemoteAction::ChannelMute:
    case RemoteAction::ChannelPad:
    case RemoteAction::ChannelPolarity:
    case RemoteAction::ChannelPhantom:
        for (int channel : match.numbers)
            answers.push_back(m_state.channelValue(action, channel));
        break;
    case RemoteAction::SceneRecall: answers.push_back(m_state.activeScene()); break;
    default: break;
    }
}

void StageControl::subscribeMeters(Page& page, const OscMessage& message, std::vector<OscMessage>& answers)
{
    const auto* first = message.arguments.size() == 2 ? std::get_if<std::int32_t>(&message.arguments[0]) : nullptr;
    const auto* count = message.arguments.size() == 2 ? std::get_if<std::int32_t>(&message.arguments[1]) : nullptr;
    if (!first || !count || *count < 0 || *count > MaxMeterChannels || *first < 1 || *first > MaxChannels) {
        answers.push_back(remoteError("two integers expected: first channel 1..384 and count 0..64", message.address));
        return;
    }
    page.meterFirst = *first - 1;
    page.meterCount = std::min(*count, MaxChannels - page.meterFirst);
    page.metersDueAt = m_clock.nowMs(); // the first reading goes at the next frame
}

void StageControl::mark(int index)
{
    for (auto& [id, page] : m_pages)
        if (!page.marked[static_cast<std::size_t>(index)]) {
            page.marked[static_cast<std::size_t>(index)] = true;
            ++page.markedCount;
        }
    armFrame();
}

void StageControl::markChannel(int channel, std::initializer_list<ChannelValue> values)
{
    if (!isValidChannel(channel))
        return;
    for (ChannelValue value : values)
        mark(channel * ValuesPerChannel + value);
}

void StageControl::unitStateChanged(int unitNumber)
{
    if (unitNumber >= 1 && unitNumber <= MaxUnits)
        mark(FirstUnitItem + unitNumber - 1);
}

void StageControl::channelChanged(int channel, ChannelAspect aspect)
{
    switch (aspect) {
    case ChannelAspect::Switches: markChannel(channel, {Mute, Pad, Polarity, Phantom}); break;
    case ChannelAspect::Gain: markChannel(channel, {Gain}); break;
    case ChannelAspect::Name: markChannel(channel, {Name, Notes}); break;
    case ChannelAspect::LinkGroup: break;
    }
}

void StageControl::allChannelsChanged()
{
    for (int channel = 0; channel < MaxChannels; ++channel)
        markChannel(channel, {Gain, Mute, Pad, Polarity, Phantom});
}

void StageControl::projectReplaced()
{
    for (int index = 0; index < ItemCount; ++index)
        mark(index);
}

void StageControl::sceneLinesChanged()
{
    mark(SceneListItem);
    mark(ActiveSceneItem);
}

void StageControl::activeSceneChanged()
{
    mark(ActiveSceneItem);
}

OscMessage StageControl::item(int index) const
{
    if (index >= ActiveSceneItem)
        return m_state.activeScene();
    if (index >= FirstUnitItem)
        return m_state.unitState(index - FirstUnitItem + 1);
    const int channel = index / ValuesPerChannel;
    const int value = index % ValuesPerChannel;
    if (value == Notes)
        return {"/deskpanel/ch/" + std::to_string(channel + 1) + "/notes",
                {m_project.channels[static_cast<std::size_t>(channel)].notes}};
    OscMessage message = m_state.channelValue(ChannelActions[value], channel);
    // Gains are whole dB; the page shows them as numbers, not as floats.
    if (value == Gain && !message.arguments.empty())
        if (const auto* db = std::get_if<float>(&message.arguments[0]))
            message.arguments[0] = static_cast<std::int32_t>(*db);
    return message;
}

void StageControl::sendMarked(int id, Page& page)
{
    int sent = 0;
    while (page.markedCount > 0 && sent < MaxValuesPerFrame) {
        const int index = page.nextItem;
        page.nextItem = (page.nextItem + 1) % ItemCount;
        if (!page.marked[static_cast<std::size_t>(index)])
            continue;
        page.marked[static_cast<std::size_t>(index)] = false;
        --page.markedCount;
        if (index == SceneListItem) {
            for (const OscMessage& part : m_state.sceneListPages(osc::MaxFeedbackDatagram))
                m_output.send(id, part);
        } else {
            m_output.send(id, item(index));
        }
        ++sent;
    }
}

void StageControl::sendMeters(int id, Page& page)
{
    const std::uint32_t now = m_clock.nowMs();
    if (page.meterCount == 0 || static_cast<std::int32_t>(now - page.metersDueAt) < 0)
        return;
    // Due every MeterPeriodMs on average, though frames come every FrameMs; a page that
    // missed readings starts again from now instead of catching up.
    page.metersDueAt += MeterPeriodMs;
    if (static_cast<std::int32_t>(now - page.metersDueAt) >= 0)
        page.metersDueAt = now + MeterPeriodMs;
    std::vector<int> levels(static_cast<std::size_t>(page.meterCount), -128);
    if (m_meterLevel)
        for (int i = 0; i < page.meterCount; ++i)
            levels[static_cast<std::size_t>(i)] = m_meterLevel(page.meterFirst + i);
    m_output.sendMeters(id, page.meterFirst + 1, levels);
}

void StageControl::onFrame()
{
    const bool busy = m_channels.gate().isHeld();
    for (auto& [id, page] : m_pages) {
        if (!page.greeted)
            greet(id, page);
        if (page.toldBusy != busy) {
            page.toldBusy = busy;
            m_output.send(id, {"/deskpanel/busy", {std::int32_t{busy ? 1 : 0}}});
        }
        // A slow page misses meters and takes its values later, once, as they are then.
        if (m_output.isSlow(id))
            continue;
        sendMarked(id, page);
        sendMeters(id, page);
    }
    armFrame();
}

void StageControl::armFrame()
{
    if (m_pages.empty())
        m_timers.stop(TimerId::StageFrame);
    else if (!m_timers.isRunning(TimerId::StageFrame))
        m_timers.start(TimerId::StageFrame, FrameMs);
}

} // namespace deskpanel
