#include "core/remote/RemoteControl.h"

#include "core/host/Clock.h"
#include "core/host/DatagramSender.h"
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
      m_clock(clock),
      m_sender(sender),
      m_state(project, channels, std::move(unitState)),
      m_dispatcher(project, channels, scenes, m_state, timers, clock),
      m_subscriptions(m_state, sender, timers, clock)
{
    m_channels.addListener(&m_subscriptions);
    m_scenes.addListener(&m_subscriptions);
}

RemoteControl::~RemoteControl()
{
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

void RemoteControl::datagramReceived(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& from)
{
    if (!isAllowed(from.address)) {
        ++m_counts.droppedNotAllowed; // no answer: a stranger learns nothing
        return;
    }
    std::vector<OscMessage> answers;
    const OscPacket packet = osc::decode(data, size);
    if (!packet.error.empty()) {
        if (takeFromRate(from)) {
            ++m_counts.refused;
            answers.push_back(remoteError("malformed packet", packet.error));
        }
    }
    for (const OscMessage& message : packet.messages)
        if (takeFromRate(from))
            applyMessage(message, from, answers);
    sendAnswers(answers, from);
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

// Answers go back as one plain message, or in bundles when there are several; an
// answer too long for a bundle (a long scene list) goes alone.
void RemoteControl::sendAnswers(const std::vector<OscMessage>& answers, const Ipv4Endpoint& to)
{
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
