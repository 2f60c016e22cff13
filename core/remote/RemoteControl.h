#pragma once
#include "core/host/Ipv4Endpoint.h"
#include "core/remote/RemoteDispatcher.h"
#include "core/remote/RemoteStateReader.h"
#include "core/remote/RemoteSubscriptions.h"
#include "core/remote/RemoteTokens.h"

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

namespace deskpanel {

class Clock;
class DatagramSender;
class Timers;
class UnitSender;

// The remote-control endpoint's logic, apart from its socket: who may talk to it, how
// much, reading each datagram, applying its messages in order and answering the sender.
// Everything runs on the UI thread; the socket hands each datagram in as it comes.
//
// A message that would change something waits while another operation holds the gate
// (a box of the desk's is open) and is applied in order once it is free; queries are
// answered at once. Costly work has its own budget: one recall per datagram (the last),
// at most two a second per sending host, and a datagram's messages stop after SliceMs
// of work and go on in the next turn of the event loop. Owns the timer RemoteQueue.
class RemoteControl {
public:
    static constexpr int MaxMessagesPerSecond = 2000; // per sending address
    static constexpr int MaxMessagesPerSecondInAll = 5000;
    static constexpr std::size_t MaxSendersCounted = 4096;
    static constexpr std::uint32_t AnswerPaceMs = 20;
    static constexpr std::size_t MaxPacedAnswers = 256;
    static constexpr std::size_t MaxWaiting = 512;
    static constexpr std::uint32_t MaxWaitMs = 1000;
    static constexpr std::uint32_t SliceMs = 5;
    static constexpr int MaxRecallsPerSecond = 2;
    static constexpr std::uint32_t RecallBudgetMs = 1000;
    static constexpr std::uint32_t HeldGateCheckMs = 100;

    struct Counts {
        std::uint64_t refused = 0; // answered with an error
        std::uint64_t droppedNotAllowed = 0; // datagrams from senders not allowed
        std::uint64_t droppedOverRate = 0; // messages beyond the rate limit
        std::uint64_t refusedBusy = 0; // beyond the queue, or waited too long
    };

    RemoteControl(Project& project, ChannelControl& channels, SceneOperations& scenes, Timers& timers,
                  const Clock& clock, DatagramSender& sender, RemoteStateReader::UnitStateSource unitState);
    ~RemoteControl();
    RemoteControl(const RemoteControl&) = delete;
    RemoteControl& operator=(const RemoteControl&) = delete;

    // The senders served: none listed serves loopback senders only (127.0.0.0/8); with
    // addresses listed exactly those are served.
    // A host taken off the list loses its leases at once.
    void setAllowedHosts(std::vector<std::uint32_t> hosts);
    void setAllowPhantom(bool allow) { m_dispatcher.setAllowPhantom(allow); }
    void setPresets(RemoteDispatcher::PresetLookup lookup, RemoteDispatcher::PresetPaste paste)
    {
        m_dispatcher.setPresets(std::move(lookup), std::move(paste));
    }
    void setProgramVersion(std::string version) { m_dispatcher.setProgramVersion(std::move(version)); }
    // The meter readings the meter leases send (dB; -128 for none).
    void setMeterSource(std::function<int(int channel)> level) { m_subscriptions.setMeterSource(std::move(level)); }
    bool isAllowed(std::uint32_t address) const;
    // The link whose failed sends, while a remote message is applied, are answered to the
    // sender instead of boxed at the desk.
    void setUnitSender(UnitSender* units) { m_units = units; }

    void datagramReceived(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& from);
    // From the unit link, for the subscribers.
    void unitStateChanged(int unitNumber) { m_subscriptions.unitStateChanged(unitNumber); }
    // The endpoint stopped: no one is subscribed any more.
    void endSubscriptions() { m_subscriptions.clear(); }

    const Counts& counts() const { return m_counts; }
    std::vector<Ipv4Endpoint> subscribers() const { return m_subscriptions.subscribers(); }
    std::size_t waitingCount() const { return m_waiting.size(); }

private:
    struct Waiting {
        RemoteAddressMatch match;
        OscMessage message;
        Ipv4Endpoint from;
        std::uint32_t arrivedAt = 0;
        std::uint64_t packet = 0;
    };
    struct Paced {
        Ipv4Endpoint to;
        std::vector<std::uint8_t> datagram;
    };
    // Answers gathered for each sender during one turn, sent at its end.
    using Answers = std::map<Ipv4Endpoint, std::vector<OscMessage>>;

    bool takeFromRate(std::uint32_t host);
    // Where answers and feedback for a sender go: its host's reply port, else its own.
    Ipv4Endpoint replyTo(const Ipv4Endpoint& from) const;
    void subscribe(const OscMessage& message, const Ipv4Endpoint& from, std::vector<OscMessage>& answers);
    void subscribeMeters(const OscMessage& message, const Ipv4Endpoint& from, std::vector<OscMessage>& answers);
    bool confirmed(const Ipv4Endpoint& to, bool holdsLease, const std::string* token, const std::string& address,
                   std::vector<OscMessage>& answers);
    bool leaseAnswered(RemoteSubscriptions::Lease lease, const std::string& address, std::vector<OscMessage>& answers);
    void setReplyPort(const OscMessage& message, const Ipv4Endpoint& from, std::vector<OscMessage>& answers);
    void sendSceneList(const Ipv4Endpoint& to, std::vector<OscMessage>& answers);
    void sendNextPaced();
    void beginGroupFor(std::uint64_t packet);
    bool recallBudgetLeft(std::uint32_t host);
    static bool appliedAsSent(const RemoteAddressMatch& match, const OscMessage& message);
    void applyMessage(const RemoteAddressMatch& match, const OscMessage& message, const Ipv4Endpoint& from,
                      std::vector<OscMessage>& answers);
    void applyChange(const RemoteAddressMatch& match, const OscMessage& message, const Ipv4Endpoint& from,
                     std::vector<OscMessage>& answers);
    void wait(RemoteAddressMatch match, OscMessage message, const Ipv4Endpoint& from, std::uint64_t packet,
              std::vector<OscMessage>& answers);
    // Applies waiting messages for one slice, answers those that waited too long, and
    // comes back in the next turn (or, while the gate is held, a little later).
    void workOnWaiting();
    void scheduleWaiting();
    void sendAnswers(const std::vector<OscMessage>& answers, const Ipv4Endpoint& to);
    void sendAll(Answers& answers);

    ChannelControl& m_channels;
    SceneOperations& m_scenes;
    Timers& m_timers;
    const Clock& m_clock;
    DatagramSender& m_sender;
    UnitSender* m_units = nullptr;
    RemoteStateReader m_state;
    RemoteDispatcher m_dispatcher;
    RemoteSubscriptions m_subscriptions;
    std::vector<std::uint32_t> m_allowedHosts;
    // Messages counted in the present second, per sending address and in all: the table
    // starts again each second instead of being swept message by message.
    std::map<std::uint32_t, int> m_rates;
    std::uint32_t m_rateWindowStart = 0;
    int m_ratedInAll = 0;
    std::map<std::uint32_t, std::uint16_t> m_replyPorts;
    RemoteTokens m_tokens;
    std::deque<Paced> m_paced;
    std::uint64_t m_packets = 0;
    std::uint64_t m_groupPacket = 0;
    std::uint64_t m_groupSerial = 0;
    std::map<std::uint32_t, std::vector<std::uint32_t>> m_recallTimes; // per host, newest last
    std::deque<Waiting> m_waiting;
    int m_gateListener = 0;
    Counts m_counts;
};

} // namespace deskpanel
