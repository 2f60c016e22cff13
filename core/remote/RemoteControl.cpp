#include "core/remote/RemoteControl.h"

#include "core/host/Clock.h"
#include "core/host/DatagramSender.h"
#include "core/host/Timers.h"
#include "core/host/UnitSender.h"
#include "core/model/ChannelControl.h"
#include "core/model/SceneOperations.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace deskpanel {
namespace {

constexpr std::uint32_t RateWindowMs = 1000;
// Hosts remembered for the recall budget before the idle ones are forgotten.
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
    m_timers.setHandler(TimerId::RemoteAnswerPace, [this] { sendNextPaced(); });
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
    for (TimerId id : {TimerId::RemoteQueue, TimerId::RemoteAnswerPace}) {
        m_timers.stop(id);
        m_timers.clearHandler(id);
    }
    m_channels.removeListener(&m_subscriptions);
    m_scenes.removeListener(&m_subscriptions);
}

bool RemoteControl::isAllowed(std::uint32_t address) const
{
    if (m_allowedHosts.empty())
        return (address >> 24) == 127;
    return std::find(m_allowedHosts.begin(), m_allowedHosts.end(), address) != m_allowedHosts.end();
}

void RemoteControl::setAllowedHosts(std::vector<std::uint32_t> hosts)
{
    m_allowedHosts = std::move(hosts);
    for (const Ipv4Endpoint& subscriber : m_subscriptions.subscribers())
        if (!isAllowed(subscriber.address))
            m_subscriptions.dropHost(subscriber.address);
}

bool RemoteControl::takeFromRate(std::uint32_t host)
{
    const std::uint32_t now = m_clock.nowMs();
    if (now - m_rateWindowStart >= RateWindowMs) {
        m_rateWindowStart = now;
        m_ratedInAll = 0;
        m_rates.clear();
    }
    const auto counted = m_rates.find(host);
    const bool roomForHost = counted != m_rates.end() || m_rates.size() < MaxSendersCounted;
    if (m_ratedInAll >= MaxMessagesPerSecondInAll || !roomForHost ||
        (counted != m_rates.end() && counted->second >= MaxMessagesPerSecond)) {
        ++m_counts.droppedOverRate;
        return false;
    }
    ++m_ratedInAll;
    ++m_rates[host];
    return true;
}

Ipv4Endpoint RemoteControl::replyTo(const Ipv4Endpoint& from) const
{
    const auto port = m_replyPorts.find(from.address);
    return port == m_replyPorts.end() ? from : Ipv4Endpoint{from.address, port->second};
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

// A gain sent with a fraction of a dB was rounded: what was applied is not what was sent.
bool RemoteControl::appliedAsSent(const RemoteAddressMatch& match, const OscMessage& message)
{
    if (match.action != RemoteAction::ChannelGain || message.arguments.size() != 1)
        return true;
    return std::visit(
        [](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>)
                return std::round(value) == value;
            else
                return true;
        },
        message.arguments[0]);
}

void RemoteControl::datagramReceived(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& from)
{
    if (!isAllowed(from.address)) {
        ++m_counts.droppedNotAllowed; // no answer: a stranger learns nothing
        return;
    }
    std::vector<OscMessage> answers;
    OscPacket packet = osc::decode(data, size);
    const std::uint64_t packetId = ++m_packets;
    if (!packet.error.empty()) {
        if (takeFromRate(from.address)) {
            ++m_counts.refused;
            answers.push_back(remoteError("malformed packet", packet.error));
        }
    }
    // Each address is matched once. One recall per datagram: the last one asked for is
    // the one meant.
    std::vector<RemoteAddressMatch> matches;
    matches.reserve(packet.messages.size());
    std::size_t lastRecall = packet.messages.size();
    for (const OscMessage& message : packet.messages) {
        matches.push_back(matchRemoteAddress(message.address));
        if (matches.back().error.empty() && matches.back().action == RemoteAction::SceneRecall)
            lastRecall = matches.size() - 1;
    }

    const std::uint32_t started = m_clock.nowMs();
    // All the changes of one datagram are one undo step.
    beginGroupFor(packetId);
    for (std::size_t i = 0; i < packet.messages.size(); ++i) {
        OscMessage& message = packet.messages[i];
        if (!takeFromRate(from.address))
            continue;
        if (!message.unreadable.empty()) {
            ++m_counts.refused;
            answers.push_back(remoteError(message.unreadable, message.address));
            continue;
        }
        RemoteAddressMatch& match = matches[i];
        if (!isRemoteChange(match, message)) {
            applyMessage(match, message, from, answers);
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
            wait(std::move(match), std::move(message), from, packetId, answers);
        else
            applyChange(match, message, from, answers);
    }
    m_groupSerial = m_channels.endUndoGroup();
    sendAnswers(answers, replyTo(from));
    scheduleWaiting();
}

void RemoteControl::beginGroupFor(std::uint64_t packet)
{
    // A datagram cut into slices stays one step, unless another change came between.
    m_channels.beginUndoGroup(packet == m_groupPacket ? m_groupSerial : 0);
    m_groupPacket = packet;
}

void RemoteControl::wait(RemoteAddressMatch match, OscMessage message, const Ipv4Endpoint& from, std::uint64_t packet,
                         std::vector<OscMessage>& answers)
{
    if (m_waiting.size() >= MaxWaiting) {
        ++m_counts.refusedBusy;
        ++m_counts.refused;
        answers.push_back(remoteError("busy", message.address));
        return;
    }
    m_waiting.push_back({std::move(match), std::move(message), from, m_clock.nowMs(), packet});
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
            answers[replyTo(m_waiting.front().from)].push_back(remoteError("busy", m_waiting.front().message.address));
            m_waiting.pop_front();
            continue;
        }
        if (m_channels.gate().isHeld() || now - started >= SliceMs)
            break;
        Waiting item = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (!m_channels.isUndoGrouping() || item.packet != m_groupPacket) {
            if (m_channels.isUndoGrouping())
                m_groupSerial = m_channels.endUndoGroup();
            beginGroupFor(item.packet);
        }
        applyChange(item.match, item.message, item.from, answers[replyTo(item.from)]);
    }
    if (m_channels.isUndoGrouping())
        m_groupSerial = m_channels.endUndoGroup();
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
    const std::size_t answered = answers.size();
    const bool done = m_dispatcher.apply(match, message, answers);
    if (m_units)
        m_units->setQuietFailures(false);
    // A subscriber is not told back what it set itself, as long as it was set as sent.
    if (done && answers.size() == answered && appliedAsSent(match, message))
        for (int number : match.numbers)
            m_subscriptions.leaveOutEcho(replyTo(from), match.action, number);
    if (!done)
        ++m_counts.refused;
    else if (recall)
        m_recallTimes[from.address].push_back(m_clock.nowMs()); // only recalls made count
    if (m_units && m_units->failedSends() != failedBefore) {
        ++m_counts.refused;
        answers.push_back(remoteError("a datagram to a unit could not be sent", message.address));
    }
}

void RemoteControl::applyMessage(const RemoteAddressMatch& match, const OscMessage& message, const Ipv4Endpoint& from,
                                 std::vector<OscMessage>& answers)
{
    bool done = true;
    if (!match.error.empty()) {
        answers.push_back(remoteError(match.error, message.address));
        done = false;
    } else if (match.action == RemoteAction::Subscribe) {
        subscribe(message, from, answers);
        return;
    } else if (match.action == RemoteAction::MetersSubscribe) {
        subscribeMeters(message, from, answers);
        return;
    } else if (match.action == RemoteAction::Unsubscribe) {
        m_subscriptions.unsubscribe(replyTo(from));
    } else if (match.action == RemoteAction::Reply) {
        setReplyPort(message, from, answers);
        return;
    } else if (match.action == RemoteAction::SceneList && message.arguments.empty()) {
        sendSceneList(replyTo(from), answers);
    } else {
        done = m_dispatcher.apply(match, message, answers);
    }
    if (!done)
        ++m_counts.refused;
}

bool RemoteControl::leaseAnswered(RemoteSubscriptions::Lease lease, const std::string& address,
                                  std::vector<OscMessage>& answers)
{
    if (lease == RemoteSubscriptions::Lease::TableFull)
        answers.push_back(remoteError("the subscriber table is full", address));
    else if (lease == RemoteSubscriptions::Lease::HostFull)
        answers.push_back(remoteError("4 subscriptions from this host already", address));
    else
        return true;
    ++m_counts.refused;
    return false;
}

// An endpoint that holds a lease has shown that it receives; anyone else gets a token
// and must send it back. False when the lease may not start (yet).
bool RemoteControl::confirmed(const Ipv4Endpoint& to, bool holdsLease, const std::string* token,
                              const std::string& address, std::vector<OscMessage>& answers)
{
    if (holdsLease || (token && m_tokens.take(to, *token, m_clock.nowMs())))
        return true;
    if (token) {
        ++m_counts.refused;
        answers.push_back(remoteError("wrong or old token", address));
    } else {
        answers.push_back({"/deskpanel/subscribe/token", {m_tokens.issue(to, m_clock.nowMs())}});
    }
    return false;
}

// "i seconds": a subscriber renews; anyone else is answered a token first, and only
// "i seconds s token" from where the token went starts the lease.
void RemoteControl::subscribe(const OscMessage& message, const Ipv4Endpoint& from, std::vector<OscMessage>& answers)
{
    const auto& args = message.arguments;
    const auto* seconds = !args.empty() && args.size() <= 2 ? std::get_if<std::int32_t>(&args[0]) : nullptr;
    const auto* token = args.size() == 2 ? std::get_if<std::string>(&args[1]) : nullptr;
    if (!seconds || *seconds < RemoteSubscriptions::MinLeaseSeconds ||
        *seconds > RemoteSubscriptions::MaxLeaseSeconds || (args.size() == 2 && !token)) {
        ++m_counts.refused;
        answers.push_back(remoteError("i: 1..60 seconds expected, then s: the token", message.address));
        return;
    }
    const Ipv4Endpoint to = replyTo(from);
    if (!confirmed(to, m_subscriptions.isSubscribed(to), token, message.address, answers))
        return;
    leaseAnswered(m_subscriptions.subscribe(to, *seconds), message.address, answers);
}

void RemoteControl::subscribeMeters(const OscMessage& message, const Ipv4Endpoint& from,
                                    std::vector<OscMessage>& answers)
{
    const auto& args = message.arguments;
    std::int32_t values[4] = {};
    bool read = args.size() == 4 || args.size() == 5;
    for (std::size_t i = 0; read && i < 4; ++i) {
        const auto* value = std::get_if<std::int32_t>(&args[i]);
        read = value != nullptr;
        if (value)
            values[i] = *value;
    }
    const auto* token = args.size() == 5 ? std::get_if<std::string>(&args[4]) : nullptr;
    const auto [seconds, first, count, rate] = values;
    if (!read || (args.size() == 5 && !token) || seconds < RemoteSubscriptions::MinLeaseSeconds ||
        seconds > RemoteSubscriptions::MaxLeaseSeconds || first < 1 || count < 1 || count > MaxChannels ||
        first + count - 1 > MaxChannels || rate < 1 || rate > RemoteSubscriptions::MaxMeterRateHz) {
        ++m_counts.refused;
        answers.push_back(remoteError("i seconds 1..60, i first, i count, i rate 1..20 expected, then s: the token",
                                      message.address));
        return;
    }
    const Ipv4Endpoint to = replyTo(from);
    const bool holdsLease = m_subscriptions.isSubscribed(to) || m_subscriptions.hasMeterLease(to);
    if (!confirmed(to, holdsLease, token, message.address, answers))
        return;
    leaseAnswered(m_subscriptions.subscribeMeters(to, seconds, first - 1, count, rate), message.address, answers);
}

void RemoteControl::setReplyPort(const OscMessage& message, const Ipv4Endpoint& from, std::vector<OscMessage>& answers)
{
    const auto* port = message.arguments.size() == 1 ? std::get_if<std::int32_t>(&message.arguments[0]) : nullptr;
    if (!port || *port < 0 || *port > 65535) {
        ++m_counts.refused;
        answers.push_back(remoteError("i: a port 1..65535, or 0 expected", message.address));
        return;
    }
    if (*port == 0)
        m_replyPorts.erase(from.address);
    else if (m_replyPorts.size() < MaxSendersCounted || m_replyPorts.count(from.address))
        m_replyPorts[from.address] = static_cast<std::uint16_t>(*port);
}

// The list goes as datagrams of at most 1,472 bytes, one every AnswerPaceMs.
void RemoteControl::sendSceneList(const Ipv4Endpoint& to, std::vector<OscMessage>& answers)
{
    const std::vector<OscMessage> pages = m_state.sceneListPages(osc::MaxFeedbackDatagram);
    if (m_paced.size() + pages.size() > MaxPacedAnswers) {
        ++m_counts.refused;
        answers.push_back(remoteError("busy", remoteAddressFor(RemoteAction::SceneList)));
        return;
    }
    // The first page goes with the other answers of the datagram.
    answers.push_back(pages.front());
    for (std::size_t i = 1; i < pages.size(); ++i)
        m_paced.push_back({to, osc::encodeMessage(pages[i])});
    if (!m_paced.empty() && !m_timers.isRunning(TimerId::RemoteAnswerPace))
        m_timers.start(TimerId::RemoteAnswerPace, AnswerPaceMs);
}

void RemoteControl::sendNextPaced()
{
    if (!m_paced.empty()) {
        const Paced next = std::move(m_paced.front());
        m_paced.pop_front();
        m_sender.send(next.datagram.data(), next.datagram.size(), next.to);
    }
    if (m_paced.empty())
        m_timers.stop(TimerId::RemoteAnswerPace);
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
