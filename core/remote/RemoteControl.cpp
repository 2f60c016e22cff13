#include "core/remote/RemoteControl.h"

#include "core/host/Clock.h"
#include "core/host/DatagramSender.h"
#include "core/host/Timers.h"
#include "core/host/UnitSender.h"
#include "core/model/ChannelControl.h"
#include "core/model/SceneOperations.h"

#include <algorithm>

namespace deskpanel {
namespace {

constexpr std::uint32_t RateWindowMs = 1000;
// Senders remembered for the rate limit before the idle ones are forgotten.
constexpr std::size_t RateSendersKept = 64;

} // namespace

RemoteControl::RemoteControl(Project& project, ChannelControl& channels, SceneOperations& scenes, Timers& timers,
                             const Clock& clock, DatagramSender& sender, RemoteStateReader::UnitStateSource unitState)
    : m_channels(channels),
      m_scenes(scenes),
      m_timers(timers),
      m_clock(clock),
      m_sender(sender),
      m_state(project, channels, std::move(unitState)),
      m_dispatcher(project, channels, scenes, m_state, timers, clock),
      m_subscriptions(m_state, sender, timers, clock)
{
    m_channels.addListener(&m_subscriptions);
    m_scenes.addListener(&m_subscriptions);
    m_timers.setHandler(TimerId::RemoteQueue, [this] { workOnWaiting(); });
    // The desk's operation ended: what waited goes on in the next turn, not inside the
    // operation's last steps.
    m_gateListener = m_channels.gate().addReleaseListener([this] {
        if (!m_waiting.empty())
            m_timers.start(TimerId::RemoteQueue, 0);
    });
}

RemoteControl::~RemoteControl()
{
    m_channels.gate().removeReleaseListener(m_gateListener);
    m_timers.stop(TimerId::RemoteQueue);
    m_timers.clearHandler(TimerId::RemoteQueue);
    m_channels.removeListener(&m_subscriptions);
    m_scenes.removeListener(&m_subscriptions);
}

bool RemoteControl::isAllowed(std::uint32_t address) const
{
    if (m_allowedHosts.empty())
        return (address >> 24) == 127;
    return std::find(m_allowedHosts.begin(), m_allowedHosts.end(), address) != m_allowedHosts.end();
}

bool RemoteControl::takeFromRate(const Ipv4Endpoint& from)
{
    const std::uint32_t now = m_clock.nowMs();
    if (m_rates.size() >= RateSendersKept)
        std::erase_if(m_rates, [now](const auto& entry) { return now - entry.second.startedAt >= RateWindowMs; });
    RateWindow& window = m_rates[{from.address, from.port}];
    if (window.count == 0 || now - window.startedAt >= RateWindowMs) {
        window.startedAt = now;
        window.count = 0;
    }
    if (window.count >= MaxMessagesPerSecond) {
        ++m_counts.droppedOverRate;
        return false;
    }
    ++window.count;
    return true;
}

bool RemoteControl::recallBudgetLeft(std::uint32_t host)
{
    const std::uint32_t now = m_clock.nowMs();
    if (m_recallTimes.size() >= RateSendersKept)
        std::erase_if(m_recallTimes, [now](const auto& entry) {
            return entry.second.empty() || now - entry.second.back() >= RecallBudgetMs;
        });
    std::vector<std::uint32_t>& times = m_recallTimes[host];
    std::erase_if(times, [now](std::uint32_t at) { return now - at >= RecallBudgetMs; });
    return static_cast<int>(times.size()) < MaxRecallsPerSecond;
}

bool RemoteControl::changesSomething(const RemoteAddressMatch& match, const OscMessage& message)
{
    if (!match.error.empty())
        return false;
    switch (match.action) {
    case RemoteAction::ChannelGain:
    case RemoteAction::ChannelMute:
    case RemoteAction::ChannelPad:
    case RemoteAction::ChannelPolarity:
    case RemoteAction::ChannelPhantom: return !message.arguments.empty();
    case RemoteAction::GroupMute:
    case RemoteAction::SceneRecall: return true;
    default: return false;
    }
}

void RemoteControl::datagramReceived(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& from)
{
    if (!isAllowed(from.address)) {
        ++m_counts.droppedNotAllowed; // no answer: a stranger learns nothing
        return;
    }
    std::vector<OscMessage> answers;
    OscPacket packet = osc::decode(data, size);
    if (!packet.error.empty()) {
        if (takeFromRate(from)) {
            ++m_counts.refused;
            answers.push_back(remoteError("malformed packet", packet.error));
        }
    }
    // One recall per datagram: the last one asked for is the one meant.
    std::size_t lastRecall = packet.messages.size();
    for (std::size_t i = 0; i < packet.messages.size(); ++i)
        if (matchRemoteAddress(packet.messages[i].address).action == RemoteAction::SceneRecall)
            lastRecall = i;

    const std::uint32_t started = m_clock.nowMs();
    for (std::size_t i = 0; i < packet.messages.size(); ++i) {
        OscMessage& message = packet.messages[i];
        if (!takeFromRate(from))
            continue;
        const RemoteAddressMatch match = matchRemoteAddress(message.address);
        if (!changesSomething(match, message)) {
            applyMessage(message, from, answers);
            continue;
        }
        if (match.action == RemoteAction::SceneRecall && i != lastRecall) {
            ++m_counts.refused;
            answers.push_back(remoteError("superseded", message.address));
            continue;
        }
        // Behind what already waits, inside another operation, or past this turn's
        // budget: the change waits its turn.
        if (!m_waiting.empty() || m_channels.gate().isHeld() || m_clock.nowMs() - started >= SliceMs)
            wait(std::move(message), from, answers);
        else
            applyChange(match, message, from, answers);
    }
    sendAnswers(answers, from);
    scheduleWaiting();
}

void RemoteControl::wait(OscMessage message, const Ipv4Endpoint& from, std::vector<OscMessage>& answers)
{
    if (m_waiting.size() >= MaxWaiting) {
        ++m_counts.refusedBusy;
        ++m_counts.refused;
        answers.push_back(remoteError("busy", message.address));
        return;
    }
    m_waiting.push_back({std::move(message), from, m_clock.nowMs()});
}

void RemoteControl::scheduleWaiting()
{
    if (m_waiting.empty())
        m_timers.stop(TimerId::RemoteQueue);
    else
        m_timers.start(TimerId::RemoteQueue, m_channels.gate().isHeld() ? HeldGateCheckMs : 0);
}

void RemoteControl::workOnWaiting()
{
    Answers answers;
    const std::uint32_t started = m_clock.nowMs();
    // Messages wait in arrival order, so those waiting too long are at the front.
    while (!m_waiting.empty()) {
        const std::uint32_t now = m_clock.nowMs();
        if (now - m_waiting.front().arrivedAt >= MaxWaitMs) {
            // A cue must not fire long after it was sent.
            ++m_counts.refusedBusy;
            ++m_counts.refused;
            answers[m_waiting.front().from].push_back(remoteError("busy", m_waiting.front().message.address));
            m_waiting.pop_front();
            continue;
        }
        if (m_channels.gate().isHeld() || now - started >= SliceMs)
            break;
        Waiting item = std::move(m_waiting.front());
        m_waiting.pop_front();
        applyChange(matchRemoteAddress(item.message.address), item.message, item.from, answers[item.from]);
    }
    sendAll(answers);
    scheduleWaiting();
}

void RemoteControl::applyChange(const RemoteAddressMatch& match, const OscMessage& message, const Ipv4Endpoint& from,
                                std::vector<OscMessage>& answers)
{
    const bool recall = match.action == RemoteAction::SceneRecall;
    if (recall && !recallBudgetLeft(from.address)) {
        ++m_counts.refused;
        answers.push_back(remoteError("too many recalls, at most 2 a second", message.address));
        return;
    }
    // Nothing a remote caused may open a box at the desk: a failed send is the sender's
    // answer (and the event log's line).
    const unsigned long long failedBefore = m_units ? m_units->failedSends() : 0;
    if (m_units)
        m_units->setQuietFailures(true);
    const bool done = m_dispatcher.apply(match, message, answers);
    if (m_units)
        m_units->setQuietFailures(false);
    if (!done)
        ++m_counts.refused;
    else if (recall)
        m_recallTimes[from.address].push_back(m_clock.nowMs()); // only recalls made count
    if (m_units && m_units->failedSends() != failedBefore) {
        ++m_counts.refused;
        answers.push_back(remoteError("a datagram to a unit could not be sent", message.address));
    }
}

void RemoteControl::applyMessage(const OscMessage& message, const Ipv4Endpoint& from, std::vector<OscMessage>& answers)
{
    const RemoteAddressMatch match = matchRemoteAddress(message.address);
    bool done = true;
    if (!match.error.empty()) {
        answers.push_back(remoteError(match.error, message.address));
        done = false;
    } else if (match.action == RemoteAction::Subscribe) {
        const auto* seconds =
            message.arguments.size() == 1 ? std::get_if<std::int32_t>(&message.arguments[0]) : nullptr;
        if (!seconds || *seconds < RemoteSubscriptions::MinLeaseSeconds ||
            *seconds > RemoteSubscriptions::MaxLeaseSeconds) {
            answers.push_back(remoteError("i: 1..60 seconds expected", message.address));
            done = false;
        } else {
            m_subscriptions.subscribe(from, *seconds);
        }
    } else if (match.action == RemoteAction::Unsubscribe) {
        m_subscriptions.unsubscribe(from);
    } else {
        done = m_dispatcher.apply(match, message, answers);
    }
    if (!done)
        ++m_counts.refused;
}

void RemoteControl::sendAll(Answers& answers)
{
    for (const auto& [to, messages] : answers)
        if (!messages.empty())
            sendAnswers(messages, to);
}

// Answers go back as one plain message, or in bundles when there are several; an
// answer too long for a bundle (a long scene list) goes alone.
void RemoteControl::sendAnswers(const std::vector<OscMessage>& answers, const Ipv4Endpoint& to)
{
    if (answers.empty())
        return;
    if (answers.size() == 1) {
        const std::vector<std::uint8_t> bytes = osc::encodeMessage(answers.front());
        m_sender.send(bytes.data(), bytes.size(), to);
        return;
    }
    osc::BundleWriter writer;
    for (const OscMessage& answer : answers) {
        const std::vector<std::uint8_t> bytes = osc::encodeMessage(answer);
        if (writer.add(bytes))
            continue;
        if (!writer.empty()) {
            const std::vector<std::uint8_t> datagram = writer.take();
            m_sender.send(datagram.data(), datagram.size(), to);
        }
        if (!writer.add(bytes))
            m_sender.send(bytes.data(), bytes.size(), to);
    }
    if (!writer.empty()) {
        const std::vector<std::uint8_t> datagram = writer.take();
        m_sender.send(datagram.data(), datagram.size(), to);
    }
}

} // namespace deskpanel
