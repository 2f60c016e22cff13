#pragma once
#include "core/host/Clock.h"
#include "core/host/Operator.h"
#include "core/host/Timers.h"
#include "core/host/UnitSender.h"
#include "core/model/ProjectPrefs.h"
#include "core/unitlink/HostPortListener.h"
#include "core/unitlink/LinkTransport.h"
#include "core/unitlink/UnitLinkEvents.h"
#include "core/unitlink/UnitTable.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace deskpanel {

// The program's side of the network: learns units from the packets they send, tracks the
// state of every unit number, and sends the operator's settings to the units. Everything
// here runs on the UI thread; only the transport's receive thread runs elsewhere.
class UnitLink : public UnitSender {
public:
    static constexpr std::uint16_t DefaultHostPort = 2000;
    static constexpr std::uint16_t DefaultUnitPort = 2001;
    static constexpr std::uint32_t PollPeriodMs = 8000;
    static constexpr std::uint32_t OfflineCheckPeriodMs = 5000;
    static constexpr std::uint32_t OfflineAfterMs = 5000;
    static constexpr std::uint32_t ConflictEndMs = 2000;
    static constexpr std::uint32_t BlinkPeriodMs = 500;
    static constexpr std::uint32_t BindRetryMs = 2000;

    UnitLink(Clock& clock, Timers& timers, Operator& op, DatagramSender& sender, UnitLinkEvents& events,
             ProjectPrefs& prefs, std::uint16_t unitPort = DefaultUnitPort);
    ~UnitLink() override;
    UnitLink(const UnitLink&) = delete;
    UnitLink& operator=(const UnitLink&) = delete;

    // Opens the transport and starts receiving and polling. Failures are reported to the
    // operator with the program's messages and leave the link silent; only a host port
    // held by another program is tried again, quietly, every BindRetryMs until it is
    // bound, and units are then taken on as at start-up.
    void start(LinkTransport& transport);
    // Stops receiving and every timer that sends to units. Returns when the receive
    // thread has ended. (The full resend and link resend timers are armed and handled by
    // the channel control; they are stopped here so that nothing is sent after stop.)
    void stop();

    // Each listener hears of a busy and a bound host port, in the order they were added.
    void addHostPortListener(HostPortListener* listener);
    void removeHostPortListener(HostPortListener* listener);

    // One datagram as it arrived, of any size (UI thread).
    void handleDatagram(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& from);

    // UnitSender
    void sendParameter(const std::string& name, double value, int unitNumber, int input) override;
    void fullResend() override;
    bool isUnitPresent(int unitNumber) const override;
    int unitCount() const override { return m_unitCount; }
    bool reducedGainRange() const override { return m_reducedGainRange; }
    void setQuietFailures(bool quiet) override { m_quietFailures = quiet; }
    unsigned long long failedSends() const override { return m_failedSends; }
    std::vector<int> unitNumbersInTableOrder() const override;

    void setUpdateRate(std::uint16_t rateMs);

    const UnitTable& table() const { return m_table; }
    // A number outside 1..48 finds an empty slot.
    const UnitSlot& slot(int unitNumber) const;
    UnitState state(int unitNumber) const { return slot(unitNumber).state; }
    const std::string& localIpText() const { return m_localIpText; }
    std::uint32_t txSequence() const { return m_txSequence; }
    std::uint64_t rxCount() const { return m_rxCount; }
    bool conflictPending() const { return m_conflictPending; }
    bool stopRequested() const { return m_stopRequested; }

private:
    enum class Result {
        Create = 0,
        Local = 1,
        Nothing = 2,
        IdConflict = 3,
        IpConflict = 4,
        Health = 5,
        Process = 10
    };

    UnitSlot& slotOf(int unitNumber);
    void setState(int unitNumber, UnitState state);
    using Mac = std::array<std::uint8_t, 6>;
    Result classifyKnown(std::size_t record, const UnitReport& report, const Ipv4Endpoint& from);
    Result classifyUnknown(const UnitReport& report, const Ipv4Endpoint& from);
    void noteIpConflict(int unitNumber);
    void noteIdConflict(int unitNumber);
    void takeNewAddress(UnitRecord& record, int unitNumber, const Ipv4Endpoint& from);
    void createRecord(const PacketBytes& bytes, const UnitReport& report, const Ipv4Endpoint& from);
    void blinkStep(std::size_t record, int unitNumber);
    void classifyHealth(std::size_t record, int unitNumber);
    void fullyProcess(const Mac& mac, const UnitReport& report);
    void removeRecord(const Mac& mac, int unitNumber, bool fromConflict);
    // Numbers the packet with the next sequence number and sends it.
    bool sendPacket(PacketBytes bytes, const Ipv4Endpoint& to);

    void beginReceiving(LinkTransport& transport, std::uint16_t port, bool wasBusy);
    void onBindRetry();
    void onPoll();
    void onOfflineCheck();
    void onIdConflictEnd();
    void onIpConflictEnd();

    Clock& m_clock;
    Timers& m_timers;
    Operator& m_operator;
    DatagramSender& m_sender;
    UnitLinkEvents& m_events;
    ProjectPrefs& m_prefs;
    const std::uint16_t m_unitPort;
    LinkTransport* m_transport = nullptr;
    LinkTransport* m_waitingForPort = nullptr; // set while the host port is tried again
    std::vector<HostPortListener*> m_portListeners;
    bool m_quietFailures = false;
    bool m_socketErrorOpen = false;
    unsigned long long m_failedSends = 0;

    UnitTable m_table;
    std::array<UnitSlot, 49> m_slots{}; // entry 0 unused
    UnitSlot m_noSlot; // what a number outside 1..48 finds; nothing keeps it
    int m_unitCount = 0;
    std::uint64_t m_rxCount = 0;
    std::uint32_t m_txSequence = 0;
    bool m_conflictPending = false;
    int m_lastIpConflictUnit = 0;
    int m_lastIdConflictUnit = 0;
    bool m_reducedGainRange = false;
    bool m_stopRequested = false;
    std::string m_localIpText;
};

} // namespace deskpanel
