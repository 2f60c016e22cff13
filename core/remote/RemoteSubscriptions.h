#pragma once
#include "core/host/Ipv4Endpoint.h"
#include "core/model/ChannelListener.h"
#include "core/model/Limits.h"
#include "core/model/SceneListListener.h"
#include "core/remote/RemoteAddressTable.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace deskpanel {

class Clock;
class DatagramSender;
class RemoteStateReader;
class Timers;

// The subscribers of the remote control and what each has yet to be told. A change marks
// the values it touched for every subscriber; each subscriber gets one bundle of at most
// 1,472 bytes per PaceMs with the present values of what is marked, so a recall's two
// thousand values and a new subscriber's whole state are paced alike, and a value that
// changes twice before it goes out goes out once.
//
// Meter leases send "/deskpanel/meters i first b levels" at their own rate; they count
// against the same limits. A lease that ends for any reason is told
// "/deskpanel/unsubscribed".
//
// Owns the timers RemoteFeedback and RemoteMeters.
class RemoteSubscriptions : public ChannelListener, public SceneListListener {
public:
    static constexpr int MaxSubscribers = 16;
    static constexpr int MaxLeasesPerHost = 4;
    static constexpr std::uint32_t PaceMs = 20;
    static constexpr int MinLeaseSeconds = 1;
    static constexpr int MaxLeaseSeconds = 60;
    static constexpr int MaxMeterRateHz = 20;
    static constexpr std::uint32_t MeterTickMs = 10;
    static constexpr const char* EndedAddress = "/deskpanel/unsubscribed";

    RemoteSubscriptions(const RemoteStateReader& state, DatagramSender& sender, Timers& timers, const Clock& clock);
    ~RemoteSubscriptions() override;
    RemoteSubscriptions(const RemoteSubscriptions&) = delete;
    RemoteSubscriptions& operator=(const RemoteSubscriptions&) = delete;

    enum class Lease {
        Granted,
        Renewed,
        TableFull, // refused: no lease is ever taken from another
        HostFull, // refused: MaxLeasesPerHost from this host already
    };
    // A new subscriber is sent the whole state; one already subscribed has its lease
    // renewed.
    Lease subscribe(const Ipv4Endpoint& to, int seconds);
    // Meters of channels first..first+count-1 (0-based) at rateHz.
    Lease subscribeMeters(const Ipv4Endpoint& to, int seconds, int first, int count, int rateHz);
    bool isSubscribed(const Ipv4Endpoint& to) const;
    bool hasMeterLease(const Ipv4Endpoint& to) const;
    void unsubscribe(const Ipv4Endpoint& to);
    // Every lease of this host ends (it left the list of allowed hosts).
    void dropHost(std::uint32_t address);
    // Every lease ends, each told so.
    void clear();
    // The subscribers whose leases have not run out.
    std::vector<Ipv4Endpoint> subscribers() const;
    // The sender at `to` set this value itself and it was applied as sent: it needs no echo.
    void leaveOutEcho(const Ipv4Endpoint& to, RemoteAction action, int channel);
    // The meter readings, in dB as the meters show them; -128 when none (absent, silent).
    void setMeterSource(std::function<int(int channel)> level) { m_meterLevel = std::move(level); }

    void unitStateChanged(int unitNumber);

    // ChannelListener
    void channelChanged(int channel, ChannelAspect aspect) override;
    void allChannelsChanged() override;
    void projectReplaced() override;
    // SceneListListener: a renamed or moved scene may change the active scene's name or number.
    void sceneLinesChanged() override;
    void sceneSelected(int) override {}
    void sceneListScrolled(int) override {}
    void activeSceneChanged() override;

private:
    // What can be marked: five values per channel, each unit's state, the active scene.
    static constexpr int ValuesPerChannel = 5;
    static constexpr int FirstUnitItem = MaxChannels * ValuesPerChannel;
    static constexpr int ActiveSceneItem = FirstUnitItem + MaxUnits;
    static constexpr int ItemCount = ActiveSceneItem + 1;

    struct Subscriber {
        Ipv4Endpoint address;
        std::uint32_t grantedAt = 0;
        std::uint32_t leaseMs = 0;
        std::uint32_t lastSentAt = 0;
        bool sentOnce = false;
        std::vector<bool> marked = std::vector<bool>(ItemCount, false);
        int markedCount = 0;
    };
    struct MeterLease {
        Ipv4Endpoint address;
        std::uint32_t grantedAt = 0;
        std::uint32_t leaseMs = 0;
        std::uint32_t periodMs = 50;
        std::uint32_t lastSentAt = 0;
        bool sentOnce = false;
        int first = 0;
        int count = 0;
    };

    Lease admit(const Ipv4Endpoint& to, bool meters) const;
    int leaseCount() const { return static_cast<int>(m_subscribers.size() + m_meters.size()); }
    void tellEnded(const Ipv4Endpoint& to);
    void armLeaseTimer();
    void onMeterTimer();

    void mark(int item);
    void markAll(Subscriber& subscriber);
    void markFor(Subscriber& subscriber, int item);
    void dropExpired();
    template <typename L>
    bool expired(const L& lease) const
    {
        return elapsedSince(lease.grantedAt) >= lease.leaseMs;
    }
    std::uint32_t elapsedSince(std::uint32_t at) const;
    void sendNext(Subscriber& subscriber);
    void onFeedbackTimer();
    void armTimer();

    const RemoteStateReader& m_state;
    DatagramSender& m_sender;
    Timers& m_timers;
    const Clock& m_clock;
    std::vector<Subscriber> m_subscribers;
    std::vector<MeterLease> m_meters;
    std::function<int(int)> m_meterLevel;
};

} // namespace deskpanel
