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
    m_timers.setHandler(TimerId::RemoteMeters, [this] { onMeterTimer(); });
    m_timers.setHandler(TimerId::RemoteLeaseEnd, [this] { dropExpired(); });
}

RemoteSubscriptions::~RemoteSubscriptions()
{
    for (TimerId id : {TimerId::RemoteFeedback, TimerId::RemoteMeters, TimerId::RemoteLeaseEnd}) {
        m_timers.stop(id);
        m_timers.clearHandler(id);
    }
}

std::uint32_t RemoteSubscriptions::elapsedSince(std::uint32_t at) const
{
    return m_clock.nowMs() - at;
}

void RemoteSubscriptions::tellEnded(const Ipv4Endpoint& to)
{
    const std::vector<std::uint8_t> bytes = osc::encodeMessage({EndedAddress, {}});
    m_sender.send(bytes.data(), bytes.size(), to);
}

void RemoteSubscriptions::dropExpired()
{
    std::vector<Ipv4Endpoint> ended;
    std::erase_if(m_subscribers, [&](const Subscriber& s) { return expired(s) && (ended.push_back(s.address), true); });
    std::erase_if(m_meters, [&](const MeterLease& m) { return expired(m) && (ended.push_back(m.address), true); });
    for (const Ipv4Endpoint& to : ended)
        tellEnded(to);
    armLeaseTimer();
}

// Comes back when the next lease runs out, so its end is told when it happens.
void RemoteSubscriptions::armLeaseTimer()
{
    std::uint32_t next = 0;
    bool any = false;
    const auto consider = [&](std::uint32_t grantedAt, std::uint32_t leaseMs) {
        const std::uint32_t left = leaseMs - std::min(leaseMs, elapsedSince(grantedAt));
        next = any ? std::min(next, left) : left;
        any = true;
    };
    for (const Subscriber& s : m_subscribers)
        consider(s.grantedAt, s.leaseMs);
    for (const MeterLease& m : m_meters)
        consider(m.grantedAt, m.leaseMs);
    if (any)
        m_timers.start(TimerId::RemoteLeaseEnd, std::max<std::uint32_t>(next, 1));
    else
        m_timers.stop(TimerId::RemoteLeaseEnd);
}

RemoteSubscriptions::Lease RemoteSubscriptions::admit(const Ipv4Endpoint& to, bool meters) const
{
    const bool held = meters ? hasMeterLease(to) : isSubscribed(to);
    if (held)
        return Lease::Renewed;
    if (leaseCount() >= MaxSubscribers)
        return Lease::TableFull;
    int fromHost = 0;
    for (const Subscriber& s : m_subscribers)
        fromHost += s.address.address == to.address;
    for (const MeterLease& m : m_meters)
        fromHost += m.address.address == to.address;
    return fromHost >= MaxLeasesPerHost ? Lease::HostFull : Lease::Granted;
}

RemoteSubscriptions::Lease RemoteSubscriptions::subscribe(const Ipv4Endpoint& to, int seconds)
{
    dropExpired();
    const std::uint32_t now = m_clock.nowMs();
    const auto leaseMs = static_cast<std::uint32_t>(std::clamp(seconds, MinLeaseSeconds, MaxLeaseSeconds)) * 1000u;
    const Lease lease = admit(to, false);
    if (lease == Lease::Renewed) {
        for (Subscriber& subscriber : m_subscribers) {
            if (subscriber.address == to) {
                subscriber.grantedAt = now;
                subscriber.leaseMs = leaseMs;
            }
        }
    }
    if (lease == Lease::Granted) {
        Subscriber& subscriber = m_subscribers.emplace_back();
        subscriber.address = to;
        subscriber.grantedAt = now;
        subscriber.leaseMs = leaseMs;
        markAll(subscriber);
        armTimer();
    }
    armLeaseTimer();
    return lease;
}

RemoteSubscriptions::Lease RemoteSubscriptions::subscribeMeters(const Ipv4Endpoint& to, int seconds, int first,
                                                                int count, int rateHz)
{
    dropExpired();
    const Lease lease = admit(to, true);
    if (lease == Lease::TableFull || lease == Lease::HostFull)
        return lease;
    if (lease == Lease::Granted)
        m_meters.push_back({to});
    for (MeterLease& meters : m_meters) {
        if (meters.address != to)
            continue;
        meters.grantedAt = m_clock.nowMs();
        meters.leaseMs = static_cast<std::uint32_t>(std::clamp(seconds, MinLeaseSeconds, MaxLeaseSeconds)) * 1000u;
        meters.periodMs = 1000u / static_cast<std::uint32_t>(std::clamp(rateHz, 1, MaxMeterRateHz));
        meters.first = first;
        meters.count = count;
        meters.sentOnce = false;
    }
    if (!m_timers.isRunning(TimerId::RemoteMeters))
        m_timers.start(TimerId::RemoteMeters, MeterTickMs);
    armLeaseTimer();
    return lease;
}

bool RemoteSubscriptions::isSubscribed(const Ipv4Endpoint& to) const
{
    return std::any_of(m_subscribers.begin(), m_subscribers.end(),
                       [&](const Subscriber& s) { return s.address == to && !expired(s); });
}

bool RemoteSubscriptions::hasMeterLease(const Ipv4Endpoint& to) const
{
    return std::any_of(m_meters.begin(), m_meters.end(),
                       [&](const MeterLease& m) { return m.address == to && !expired(m); });
}

void RemoteSubscriptions::unsubscribe(const Ipv4Endpoint& to)
{
    const auto before = leaseCount();
    std::erase_if(m_subscribers, [&](const Subscriber& s) { return s.address == to; });
    std::erase_if(m_meters, [&](const MeterLease& m) { return m.address == to; });
    if (leaseCount() != before)
        tellEnded(to);
    armLeaseTimer();
}

void RemoteSubscriptions::dropHost(std::uint32_t address)
{
    std::vector<Ipv4Endpoint> ended;
    std::erase_if(m_subscribers, [&](const Subscriber& s) {
        return s.address.address == address && (ended.push_back(s.address), true);
    });
    std::erase_if(m_meters, [&](const MeterLease& m) {
        return m.address.address == address && (ended.push_back(m.address), true);
    });
    for (const Ipv4Endpoint& to : ended)
        tellEnded(to);
}

void RemoteSubscriptions::clear()
{
    std::vector<Ipv4Endpoint> ended;
    for (const Subscriber& s : m_subscribers)
        if (!expired(s))
            ended.push_back(s.address);
    for (const MeterLease& m : m_meters)
        if (!expired(m))
            ended.push_back(m.address);
    m_subscribers.clear();
    m_meters.clear();
    m_timers.stop(TimerId::RemoteFeedback);
    m_timers.stop(TimerId::RemoteMeters);
    m_timers.stop(TimerId::RemoteLeaseEnd);
    for (const Ipv4Endpoint& to : ended)
        tellEnded(to);
}

void RemoteSubscriptions::leaveOutEcho(const Ipv4Endpoint& to, RemoteAction action, int channel)
{
    if (!isValidChannel(channel))
        return;
    int k = 0;
    while (k < ValuesPerChannel && ChannelValues[k] != action)
        ++k;
    if (k == ValuesPerChannel)
        return;
    const auto item = static_cast<std::size_t>(channel * ValuesPerChannel + k);
    for (Subscriber& subscriber : m_subscribers) {
        if (subscriber.address == to && subscriber.marked[item]) {
            subscriber.marked[item] = false;
            --subscriber.markedCount;
        }
    }
}

// One datagram per lease when its period is due: a signed byte per channel.
void RemoteSubscriptions::onMeterTimer()
{
    dropExpired();
    if (m_meters.empty()) {
        m_timers.stop(TimerId::RemoteMeters);
        return;
    }
    const std::uint32_t now = m_clock.nowMs();
    for (MeterLease& meters : m_meters) {
        if (meters.sentOnce && now - meters.lastSentAt < meters.periodMs)
            continue;
        std::string levels(static_cast<std::size_t>(meters.count), '\0');
        for (int i = 0; i < meters.count; ++i) {
            const int level = m_meterLevel ? m_meterLevel(meters.first + i) : -128;
            levels[static_cast<std::size_t>(i)] =
                static_cast<char>(static_cast<std::int8_t>(std::clamp(level, -128, 127)));
        }
        const std::vector<std::uint8_t> bytes = osc::encodeMessage(
            {"/deskpanel/meters",
             {std::int32_t{meters.first + 1}, OscBlob{std::vector<std::uint8_t>(levels.begin(), levels.end())}}});
        m_sender.send(bytes.data(), bytes.size(), meters.address);
        meters.lastSentAt = now;
        meters.sentOnce = true;
    }
}

std::vector<Ipv4Endpoint> RemoteSubscriptions::subscribers() const
{
    std::vector<Ipv4Endpoint> out;
    for (const Subscriber& subscriber : m_subscribers)
        if (!expired(subscriber))
            out.push_back(subscriber.address);
    for (const MeterLease& meters : m_meters)
        if (!expired(meters) && std::find(out.begin(), out.end(), meters.address) == out.end())
            out.push_back(meters.address);
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
