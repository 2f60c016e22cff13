#pragma once
#include "core/host/Ipv4Endpoint.h"
#include "core/model/ChannelListener.h"
#include "core/model/Limits.h"
#include "core/model/SceneListListener.h"

#include <cstdint>
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
// Owns the timer RemoteFeedback.
class RemoteSubscriptions : public ChannelListener, public SceneListListener {
public:
    static constexpr int MaxSubscribers = 16;
    static constexpr std::uint32_t PaceMs = 20;
    static constexpr int MinLeaseSeconds = 1;
    static constexpr int MaxLeaseSeconds = 60;

    RemoteSubscriptions(const RemoteStateReader& state, DatagramSender& sender, Timers& timers, const Clock& clock);
    ~RemoteSubscriptions() override;
    RemoteSubscriptions(const RemoteSubscriptions&) = delete;
    RemoteSubscriptions& operator=(const RemoteSubscriptions&) = delete;

    // A new subscriber is sent the whole state; one already subscribed has its lease
    // renewed. With MaxSubscribers already, the oldest lease makes room.
    void subscribe(const Ipv4Endpoint& to, int seconds);
    void unsubscribe(const Ipv4Endpoint& to);
    void clear();
    // The subscribers whose leases have not run out.
    std::vector<Ipv4Endpoint> subscribers() const;

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

    void mark(int item);
    void markAll(Subscriber& subscriber);
    void markFor(Subscriber& subscriber, int item);
    void dropExpired();
    bool expired(const Subscriber& subscriber) const;
    void sendNext(Subscriber& subscriber);
    void onFeedbackTimer();
    void armTimer();

    const RemoteStateReader& m_state;
    DatagramSender& m_sender;
    Timers& m_timers;
    const Clock& m_clock;
    std::vector<Subscriber> m_subscribers;
};

} // namespace deskpanel
