#pragma once
#include "core/host/Ipv4Endpoint.h"
#include "core/remote/RemoteDispatcher.h"
#include "core/remote/RemoteStateReader.h"
#include "core/remote/RemoteSubscriptions.h"

#include <cstdint>
#include <map>
#include <vector>

namespace deskpanel {

class Clock;
class DatagramSender;
class Timers;

// The remote-control endpoint's logic, apart from its socket: who may talk to it, how
// much, reading each datagram, applying its messages in order and answering the sender.
// Everything runs on the UI thread; the socket hands each datagram in as it comes.
class RemoteControl {
public:
    static constexpr int MaxMessagesPerSecond = 2000;

    struct Counts {
        std::uint64_t refused = 0; // answered with an error
        std::uint64_t droppedNotAllowed = 0; // datagrams from senders not allowed
        std::uint64_t droppedOverRate = 0; // messages beyond the rate limit
    };

    RemoteControl(Project& project, ChannelControl& channels, SceneOperations& scenes, Timers& timers,
                  const Clock& clock, DatagramSender& sender, RemoteStateReader::UnitStateSource unitState);
    ~RemoteControl();
    RemoteControl(const RemoteControl&) = delete;
    RemoteControl& operator=(const RemoteControl&) = delete;

    // The senders served: none listed serves loopback senders only (127.0.0.0/8); with
    // addresses listed exactly those are served.
    void setAllowedHosts(std::vector<std::uint32_t> hosts) { m_allowedHosts = std::move(hosts); }
    void setAllowPhantom(bool allow) { m_dispatcher.setAllowPhantom(allow); }
    bool isAllowed(std::uint32_t address) const;

    void datagramReceived(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& from);
    // From the unit link, for the subscribers.
    void unitStateChanged(int unitNumber) { m_subscriptions.unitStateChanged(unitNumber); }
    // The endpoint stopped: no one is subscribed any more.
    void endSubscriptions() { m_subscriptions.clear(); }

    const Counts& counts() const { return m_counts; }
    std::vector<Ipv4Endpoint> subscribers() const { return m_subscriptions.subscribers(); }

private:
    struct RateWindow {
        std::uint32_t startedAt = 0;
        int count = 0;
    };
    bool takeFromRate(const Ipv4Endpoint& from);
    void applyMessage(const OscMessage& message, const Ipv4Endpoint& from, std::vector<OscMessage>& answers);
    void sendAnswers(const std::vector<OscMessage>& answers, const Ipv4Endpoint& to);

    ChannelControl& m_channels;
    SceneOperations& m_scenes;
    const Clock& m_clock;
    DatagramSender& m_sender;
    RemoteStateReader m_state;
    RemoteDispatcher m_dispatcher;
    RemoteSubscriptions m_subscriptions;
    std::vector<std::uint32_t> m_allowedHosts;
    std::map<std::pair<std::uint32_t, std::uint16_t>, RateWindow> m_rates;
    Counts m_counts;
};

} // namespace deskpanel
