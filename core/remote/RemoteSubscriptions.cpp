#include "core/remote/RemoteSubscriptions.h"

#include "core/host/Clock.h"
#include "core/host/DatagramSender.h"
#include "core/host/Timers.h"
#include "core/remote/OscCodec.h"
#include "core/remote/RemoteStateReader.h"

#include <algorithm>

namespace deskpanel {
namespace {

constexpr RemoteAction ChannelValues[] = {RemoteAction::ChannelGain, RemoteAction::ChannelMute,
                                          RemoteAction::ChannelPad, RemoteAction::ChannelPolarity,
                                          RemoteAction::ChannelPhantom};

} // namespace

RemoteSubscriptions::RemoteSubscriptions(const RemoteStateReader& state, DatagramSender& sender, Timers& timers,
                                         const Clock& clock)
    : m_state(state), m_sender(sender), m_timers(timers), m_clock(clock)
{
    m_timers.setHandler(TimerId::RemoteFeedback, [this] { onFeedbackTimer(); });
}

RemoteSubscriptions::~RemoteSubscriptions()
{
    m_timers.stop(TimerId::RemoteFeedback);
    m_timers.clearHandler(TimerId::RemoteFeedback);
}

bool RemoteSubscriptions::expired(const Subscriber& subscriber) const
{
    return m_clock.nowMs() - subscriber.grantedAt >= subscriber.leaseMs;
}

void RemoteSubscriptions::dropExpired()
{
    std::erase_if(m_subscribers, [this](const Subscriber& s) { return expired(s); });
}

void RemoteSubscriptions::subscribe(const Ipv4Endpoint& to, int seconds)
{
    dropExpired();
    const std::uint32_t now = m_clock.nowMs();
    const auto leaseMs = static_cast<std::uint32_t>(std::clamp(seconds, MinLeaseSeconds, MaxLeaseSeconds)) * 1000u;
    for (Subscriber& subscriber : m_subscribers) {
        if (subscriber.address == to) {
            subscriber.grantedAt = now;
            subscriber.leaseMs = leaseMs;
            return;
        }
    }
    if (static_cast<int>(m_subscribers.size()) >= MaxSubscribers) {
        const auto oldest = std::min_element(
            m_subscribers.begin(), m_subscribers.end(),
            [now](const Subscriber& a, const Subscriber& b) { return now - a.grantedAt > now - b.grantedAt; });
        m_subscribers.erase(oldest);
    }
    Subscriber& subscriber = m_subscribers.emplace_back();
    subscriber.address = to;
    subscriber.grantedAt = now;
    subscriber.leaseMs = leaseMs;
    markAll(subscriber);
    armTimer();
}

void RemoteSubscriptions::unsubscribe(const Ipv4Endpoint& to)
{
    std::erase_if(m_subscribers, [&](const Subscriber& s) { return s.address == to; });
}

void RemoteSubscriptions::clear()
{
    m_subscribers.clear();
    m_timers.stop(TimerId::RemoteFeedback);
}

std::vector<Ipv4Endpoint> RemoteSubscriptions::subscribers() const
{
    std::vector<Ipv4Endpoint> out;
    for (const Subscriber& subscriber : m_subscribers)
        if (!expired(subscriber))
            out.push_back(subscriber.address);
    return out;
}

// ------------------------------------------------------------------ marking

void RemoteSubscriptions::markFor(Subscriber& subscriber, int item)
{
    if (!subscriber.marked[static_cast<std::size_t>(item)]) {
        subscriber.marked[static_cast<std::size_t>(item)] = true;
        ++subscriber.markedCount;
    }
}

void RemoteSubscriptions::markAll(Subscriber& subscriber)
{
    for (int item = 0; item < ItemCount; ++item)
        markFor(subscriber, item);
}

void RemoteSubscriptions::mark(int item)
{
    if (m_subscribers.empty())
        return;
    for (Subscriber& subscriber : m_subscribers)
        markFor(subscriber, item);
    armTimer();
}

void RemoteSubscriptions::channelChanged(int channel, ChannelAspect aspect)
{
    if (!isValidChannel(channel))
        return;
    const int first = channel * ValuesPerChannel;
    if (aspect == ChannelAspect::Gain)
        mark(first);
    else if (aspect == ChannelAspect::Switches)
        for (int k = 1; k < ValuesPerChannel; ++k)
            mark(first + k);
}

void RemoteSubscriptions::allChannelsChanged()
{
    for (int item = 0; item < FirstUnitItem; ++item)
        mark(item);
    mark(ActiveSceneItem);
}

void RemoteSubscriptions::projectReplaced()
{
    allChannelsChanged();
}

void RemoteSubscriptions::sceneLinesChanged()
{
    mark(ActiveSceneItem);
}

void RemoteSubscriptions::activeSceneChanged()
{
    mark(ActiveSceneItem);
}

void RemoteSubscriptions::unitStateChanged(int unitNumber)
{
    if (isValidUnitNumber(unitNumber))
        mark(FirstUnitItem + unitNumber - 1);
}

// ------------------------------------------------------------------ sending

void RemoteSubscriptions::armTimer()
{
    // At once (after the changes of this turn of the event loop), then every PaceMs.
    if (!m_timers.isRunning(TimerId::RemoteFeedback))
        m_timers.start(TimerId::RemoteFeedback, 0);
}

void RemoteSubscriptions::onFeedbackTimer()
{
    dropExpired();
    const std::uint32_t now = m_clock.nowMs();
    bool waiting = false;
    for (Subscriber& subscriber : m_subscribers) {
        if (subscriber.markedCount == 0)
            continue;
        if (!subscriber.sentOnce || now - subscriber.lastSentAt >= PaceMs)
            sendNext(subscriber);
        waiting = waiting || subscriber.markedCount > 0;
    }
    if (waiting)
        m_timers.start(TimerId::RemoteFeedback, PaceMs);
    else
        m_timers.stop(TimerId::RemoteFeedback);
}

void RemoteSubscriptions::sendNext(Subscriber& subscriber)
{
    osc::BundleWriter writer;
    for (int item = 0; item < ItemCount && subscriber.markedCount > 0; ++item) {
        if (!subscriber.marked[static_cast<std::size_t>(item)])
            continue;
        OscMessage message;
        if (item < FirstUnitItem)
            message = m_state.channelValue(ChannelValues[item % ValuesPerChannel], item / ValuesPerChannel);
        else if (item < ActiveSceneItem)
            message = m_state.unitState(item - FirstUnitItem + 1);
        else
            message = m_state.activeScene();
        if (!writer.add(osc::encodeMessage(message)) && !writer.empty())
            break; // the bundle is full: the rest goes next time
        subscriber.marked[static_cast<std::size_t>(item)] = false;
        --subscriber.markedCount;
    }
    const std::vector<std::uint8_t> datagram = writer.take();
    if (!datagram.empty())
        m_sender.send(datagram.data(), datagram.size(), subscriber.address);
    subscriber.lastSentAt = m_clock.nowMs();
    subscriber.sentOnce = true;
}

} // namespace deskpanel
