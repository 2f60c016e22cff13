#include "core/unitlink/UnitLink.h"

#include "core/model/Limits.h"
#include "core/model/Text.h"
#include "core/unitlink/HealthCheck.h"

#include <algorithm>
#include <cstring>

namespace deskpanel {

UnitLink::UnitLink(Clock& clock, Timers& timers, Operator& op, DatagramSender& sender, UnitLinkEvents& events,
                   ProjectPrefs& prefs, std::uint16_t unitPort)
    : m_clock(clock),
      m_timers(timers),
      m_operator(op),
      m_sender(sender),
      m_events(events),
      m_prefs(prefs),
      m_unitPort(unitPort)
{
    m_timers.setHandler(TimerId::Poll, [this] { onPoll(); });
    m_timers.setHandler(TimerId::OfflineCheck, [this] { onOfflineCheck(); });
    m_timers.setHandler(TimerId::IdConflictEnd, [this] { onIdConflictEnd(); });
    m_timers.setHandler(TimerId::IpConflictEnd, [this] { onIpConflictEnd(); });
    m_timers.setHandler(TimerId::BindRetry, [this] { onBindRetry(); });
}

UnitLink::~UnitLink()
{
    stop();
    for (TimerId id :
         {TimerId::Poll, TimerId::OfflineCheck, TimerId::IdConflictEnd, TimerId::IpConflictEnd, TimerId::BindRetry})
        m_timers.clearHandler(id);
}

void UnitLink::start(LinkTransport& transport)
{
    const LinkTransport::OpenResult opened = transport.open();
    if (!opened.stackStarted)
        return; // no networking for this run, and nothing to tell
    if (opened.localLookupOk) {
        m_localIpText = opened.localIpText;
    } else {
        m_operator.platformMessage("Error getting local host name and IP address");
        m_operator.platformMessage("Failed to find local host name and IP address");
    }
    if (!opened.socketCreated) {
        m_operator.platformMessage("Error in establishing a socket");
        return;
    }
    if (!opened.reuseAddressSet)
        m_operator.platformMessage("setsockopt error");
    if (!opened.bound) {
        transport.close();
        // The port may be held by a program that ends later: the link keeps trying, so
        // the console is not deaf for the whole run. The box is shown once.
        m_waitingForPort = &transport;
        m_timers.start(TimerId::BindRetry, BindRetryMs);
        const auto listeners = m_portListeners;
        for (HostPortListener* listener : listeners)
            listener->hostPortBusy(opened.port);
        m_operator.platformMessage(" Error in bind");
        return;
    }
    beginReceiving(transport, opened.port, false);
}

void UnitLink::onBindRetry()
{
    if (m_waitingForPort == nullptr || m_stopRequested) {
        m_timers.stop(TimerId::BindRetry);
        return;
    }
    LinkTransport& transport = *m_waitingForPort;
    const LinkTransport::OpenResult opened = transport.open();
    if (!opened.bound) {
        transport.close(); // quietly: the next try comes in BindRetryMs
        return;
    }
    m_timers.stop(TimerId::BindRetry);
    m_waitingForPort = nullptr;
    if (opened.localLookupOk)
        m_localIpText = opened.localIpText;
    beginReceiving(transport, opened.port, true);
}

void UnitLink::beginReceiving(LinkTransport& transport, std::uint16_t port, bool wasBusy)
{
    m_transport = &transport;
    transport.startReceiving([this](const Datagram& datagram) {
        handleDatagram(datagram.bytes.data(), datagram.bytes.size(), datagram.from);
    });
    m_timers.start(TimerId::Poll, PollPeriodMs);
    const auto listeners = m_portListeners;
    for (HostPortListener* listener : listeners)
        listener->hostPortBound(port, wasBusy);
}

void UnitLink::addHostPortListener(HostPortListener* listener)
{
    if (listener && std::find(m_portListeners.begin(), m_portListeners.end(), listener) == m_portListeners.end())
        m_portListeners.push_back(listener);
}

void UnitLink::removeHostPortListener(HostPortListener* listener)
{
    std::erase(m_portListeners, listener);
}

void UnitLink::stop()
{
    m_stopRequested = true;
    for (TimerId id : {TimerId::Poll, TimerId::OfflineCheck, TimerId::FullResend, TimerId::IdConflictEnd,
                       TimerId::IpConflictEnd, TimerId::LinkResend, TimerId::BindRetry})
        m_timers.stop(id);
    m_waitingForPort = nullptr;
    if (m_transport) {
        m_transport->close();
        m_transport = nullptr;
    }
}

const UnitSlot& UnitLink::slot(int unitNumber) const
{
    static const UnitSlot none;
    return isValidUnitNumber(unitNumber) ? m_slots[static_cast<std::size_t>(unitNumber)] : none;
}

UnitSlot& UnitLink::slotOf(int unitNumber)
{
    if (isValidUnitNumber(unitNumber))
        return m_slots[static_cast<std::size_t>(unitNumber)];
    m_noSlot = UnitSlot{};
    return m_noSlot;
}

void UnitLink::setState(int unitNumber, UnitState state)
{
    UnitSlot& slot = slotOf(unitNumber);
    if (slot.state == state)
        return;
    slot.state = state;
    m_events.unitStateChanged(unitNumber);
}

void UnitLink::handleDatagram(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& from)
{
    // Units only ever send whole packets; anything else is noise on the port.
    if (data == nullptr || size != PacketSize)
        return;
    ++m_rxCount;
    if (m_stopRequested)
        return;
    if (m_rxCount == 1) {
        const auto listeners = m_portListeners;
        for (HostPortListener* listener : listeners)
            listener->firstPacketArrived();
    }
    PacketBytes bytes;
    std::memcpy(bytes.data(), data, PacketSize);

    const int n = bytes[packet::UnitNumber];
    if (n < 1 || n > MaxUnits) {
        if (!m_operator.isTimedNoteOpen()) {
            m_operator.timedNote("UNIT ID",
                                 format("You have chosen the Unit ID to be %d.\n\nThe program is currently configured "
                                        "for a maximum of %d Units.\nPlease use a Unit ID number between 1 and %d.\n\n",
                                        n, MaxUnits, MaxUnits),
                                 5000);
        }
        return;
    }
    if (!hasMagic(bytes)) {
        m_operator.platformMessage("VLTA Header != VLTA");
        return;
    }

    const UnitReport report = readPacket(bytes);
    const Mac& packetMac = report.mac;
    const auto record = m_table.findByMac(packetMac);

    const Result result = record ? classifyKnown(*record, report, from) : classifyUnknown(report, from);
    switch (result) {
    case Result::Create: createRecord(bytes, report, from); break;
    case Result::Local:
        slotOf(n).modeByte = report.modeByte;
        if (auto again = m_table.findByMac(packetMac))
            blinkStep(*again, n);
        break;
    case Result::Nothing: break;
    case Result::IdConflict:
    case Result::IpConflict:
        if (record)
            fullyProcess(packetMac, report);
        break;
    case Result::Health:
        classifyHealth(*record, n);
        fullyProcess(packetMac, report);
        break;
    case Result::Process:
        if (slotOf(n).wasLocal) {
            slotOf(n).wasLocal = false;
            setState(n, UnitState::ACTIVE);
        }
        fullyProcess(packetMac, report);
        break;
    }
}

UnitLink::Result UnitLink::classifyKnown(std::size_t index, const UnitReport& report, const Ipv4Endpoint& from)
{
    const Mac& packetMac = report.mac;
    const int n = report.unitNumber;
    const UnitTable::AddressCheck ip = m_table.checkAddress(from.address, report.mac);
    const bool someoneHoldsIp = ip.held;
    const bool ipConflict = ip.heldByAnotherMac;
    const auto byNumber = m_table.findByNumber(n);
    UnitRecord& r = m_table.at(index);

    if (!someoneHoldsIp) {
        takeNewAddress(r, n, from);
        return Result::Process;
    }
    if (ipConflict) {
        noteIpConflict(n);
        r.lastHeard = m_clock.nowMs();
        return Result::IpConflict;
    }
    if (!byNumber) {
        // The unit now reports another number: it takes its new number's settings.
        setState(r.unitId, UnitState::INACTIVE);
        r.unitId = static_cast<std::uint8_t>(n);
        r.packetImage[packet::UnitNumber] = static_cast<std::uint8_t>(n);
        m_events.saveUnitSettings(n);
        m_events.restoreUnitSettings(n);
        setState(n, UnitState::ACTIVE);
        if (auto again = m_table.findByMac(packetMac))
            takeNewAddress(m_table.at(*again), n, from);
        return Result::Process;
    }
    if (m_table.at(*byNumber).mac != packetMac && slotOf(n).state != UnitState::OFFLINE) {
        setState(r.unitId, UnitState::INACTIVE);
        noteIdConflict(n);
        removeRecord(m_table.at(*byNumber).mac, n, true);
        return Result::Nothing;
    }
    if (report.modeByte == 0) {
        setState(n, UnitState::LOCAL);
        slotOf(n).wasLocal = true;
        return Result::Local;
    }
    const UnitSlot& slot = slotOf(n);
    if (slot.hasReadings && !healthNormal(slot.health))
        return Result::Health;
    if (slot.healthState == UnitState::FAULT)
        setState(n, UnitState::ACTIVE);
    slotOf(n).healthState = UnitState::ACTIVE;
    r.faultFlag = 0;
    return Result::Process;
}

UnitLink::Result UnitLink::classifyUnknown(const UnitReport& report, const Ipv4Endpoint& from)
{
    const Mac& packetMac = report.mac;
    const int n = report.unitNumber;
    if (report.modeByte == 0)
        return Result::Nothing; // a unit in front-panel mode is not taken on
    if (m_table.checkAddress(from.address, report.mac).held) {
        noteIpConflict(n);
        return Result::IpConflict;
    }
    const auto byNumber = m_table.findByNumber(n);
    if (byNumber && m_table.at(*byNumber).mac != packetMac && slotOf(n).state != UnitState::OFFLINE) {
        noteIdConflict(n);
        return Result::IdConflict;
    }
    return Result::Create;
}

void UnitLink::noteIpConflict(int n)
{
    setState(n, UnitState::CONFLICT);
    m_lastIpConflictUnit = n;
    slotOf(n).ipConflict = true;
    m_conflictPending = true;
    m_timers.start(TimerId::IpConflictEnd, ConflictEndMs);
}

void UnitLink::noteIdConflict(int n)
{
    setState(n, UnitState::CONFLICT);
    m_lastIdConflictUnit = n;
    slotOf(n).idConflict = true;
    m_conflictPending = true;
    m_timers.start(TimerId::IdConflictEnd, ConflictEndMs);
}

void UnitLink::takeNewAddress(UnitRecord& r, int n, const Ipv4Endpoint& from)
{
    r.address = from;
    slotOf(n).slotIpText = r.ipText();
    r.unitId = static_cast<std::uint8_t>(n);
    r.packetImage[packet::UnitNumber] = static_cast<std::uint8_t>(n);
}

void UnitLink::createRecord(const PacketBytes& bytes, const UnitReport& report, const Ipv4Endpoint& from)
{
    const int n = report.unitNumber;
    UnitRecord record;
    record.packetImage = bytes;
    record.mac = report.mac;
    record.unitId = static_cast<std::uint8_t>(n);
    record.address = from;
    record.lastHeard = m_clock.nowMs();
    record.updateInterval = m_prefs.ethernetUpdateRate;
    slotOf(n).slotIpText = record.ipText();
    ++m_unitCount;
    m_conflictPending = false;
    // In the table before the state is told, so those told find the new unit's record.
    m_table.insert(std::move(record));
    setState(n, UnitState::ACTIVE);
    m_timers.start(TimerId::OfflineCheck, OfflineCheckPeriodMs);
    slotOf(n).offlineReported = false;
    // The new unit gets the project's settings of its eight inputs. Its first packet's
    // readings and levels are not used.
    m_events.saveUnitSettings(n);
    m_events.restoreUnitSettings(n);
}

void UnitLink::blinkStep(std::size_t index, int n)
{
    UnitRecord& r = m_table.at(index);
    UnitSlot& slot = slotOf(n);
    const std::uint32_t now = m_clock.nowMs();
    setState(n, UnitState::LOCAL);
    if (!slot.blinkStarted) {
        slot.blinkStarted = true;
        r.blinkTime = now;
    }
    if (now - r.blinkTime > BlinkPeriodMs) {
        r.blinkTime = now;
        slot.blinkPhase = !slot.blinkPhase;
        m_events.unitBoxBlink(n, slot.blinkPhase ? UnitPicture::Inactive : UnitPicture::Active);
    }
    if (auto again = m_table.findByMac(r.mac))
        m_table.at(*again).lastHeard = now;
}

void UnitLink::classifyHealth(std::size_t index, int n)
{
    UnitSlot& slot = slotOf(n);
    UnitRecord& r = m_table.at(index);
    if (slot.hasReadings && !healthNormal(slot.health)) {
        if (slot.healthState != UnitState::FAULT)
            setState(n, UnitState::FAULT);
        slotOf(n).healthState = UnitState::FAULT;
        r.faultFlag = 1;
    } else {
        if (slot.healthState == UnitState::FAULT)
            setState(n, UnitState::ACTIVE);
        slotOf(n).healthState = UnitState::ACTIVE;
        r.faultFlag = 0;
    }
}

void UnitLink::fullyProcess(const Mac& mac, const UnitReport& report)
{
    const auto index = m_table.findByMac(mac);
    if (!index)
        return;
    UnitRecord& r = m_table.at(*index);
    // The number the packet carries: after an address conflict the record may still
    // hold the unit's old one.
    const int n = report.unitNumber;
    r.variantByte = report.variantByte;
    if (report.variantByte == 1)
        m_reducedGainRange = true;
    UnitSlot& slot = slotOf(n);
    slot.health = report.health();
    slot.hasReadings = true;
    r.packetImage[packet::Mode] = report.modeByte;
    slot.modeByte = report.modeByte;
    r.lastHeard = m_clock.nowMs();
    for (int k = 0; k < ChannelsPerUnit; ++k)
        m_events.setLevel((n - 1) * ChannelsPerUnit + k, report.levelsDb[static_cast<std::size_t>(k)]);
}

void UnitLink::removeRecord(const Mac& mac, int m, bool fromConflict)
{
    UnitSlot& slot = slotOf(m);
    if (fromConflict && !slot.offlineReported)
        --m_unitCount; // the off-line path has lowered it already
    setState(m, UnitState::OFFLINE);
    slot.offlineReported = false;
    slot.healthState = UnitState::OFFLINE;
    if (auto index = m_table.findByMac(mac))
        m_table.removeAt(*index);
}

bool UnitLink::sendPacket(PacketBytes bytes, const Ipv4Endpoint& to)
{
    // The sequence number is counted here, not when the packet is built: a datagram
    // that never leaves (no socket) must not use one up.
    const std::uint32_t sequence = m_txSequence + 1;
    writeU32(bytes, packet::Sequence, sequence);
    Ipv4Endpoint target = to;
    target.port = m_unitPort;
    if (m_sender.send(bytes.data(), bytes.size(), target)) {
        m_txSequence = sequence;
        return true;
    }
    ++m_failedSends;
    // One box at a time: failures while it is open are counted, not boxed again.
    if (m_quietFailures || m_socketErrorOpen) {
        const std::string why = m_quietFailures ? "caused by a remote message" : "while the error box was open";
        for (HostPortListener* listener : m_portListeners)
            listener->sendFailedQuietly(why);
        return false;
    }
    m_socketErrorOpen = true;
    m_operator.platformMessage("Error in socket");
    m_socketErrorOpen = false;
    return false;
}

void UnitLink::fullResend()
{
    // Build every packet first: the error box of a failed send runs a nested event loop
    // in which the table may change.
    std::vector<std::pair<PacketBytes, Ipv4Endpoint>> packets;
    packets.reserve(m_table.size());
    for (std::size_t i = 0; i < m_table.size(); ++i) {
        UnitRecord& r = m_table.at(i);
        r.updateInterval = m_prefs.ethernetUpdateRate;
        packets.emplace_back(buildPollPacket(r.packetImage, r.faultFlag, m_prefs.ethernetUpdateRate, r.variantByte, 0),
                             r.address);
    }
    for (const auto& [bytes, to] : packets)
        if (!sendPacket(bytes, to))
            return; // the rest of this round is abandoned; the next one tries again
}

void UnitLink::sendParameter(const std::string& name, double value, int unitNumber, int input)
{
    std::vector<std::pair<PacketBytes, Ipv4Endpoint>> packets;
    for (std::size_t i = 0; i < m_table.size(); ++i) {
        UnitRecord& r = m_table.at(i);
        if (r.imageUnitNumber() != unitNumber)
            continue;
        applyParameter(r.packetImage, name, value, input);
        packets.emplace_back(buildParameterPacket(r.packetImage, r.variantByte, 0), r.address);
    }
    for (const auto& [bytes, to] : packets)
        if (!sendPacket(bytes, to))
            return;
}

std::vector<int> UnitLink::unitNumbersInTableOrder() const
{
    std::vector<int> numbers;
    numbers.reserve(m_table.size());
    for (std::size_t i = 0; i < m_table.size(); ++i)
        numbers.push_back(m_table.at(i).imageUnitNumber());
    return numbers;
}

bool UnitLink::isUnitPresent(int unitNumber) const
{
    if (!isValidUnitNumber(unitNumber))
        return false;
    return m_table.findByChannel(channelIndex(unitNumber, 1)).has_value();
}

void UnitLink::setUpdateRate(std::uint16_t rateMs)
{
    m_prefs.ethernetUpdateRate = rateMs;
    if (m_unitCount >= 1) {
        for (std::size_t i = 0; i < m_table.size(); ++i)
            m_table.at(i).updateInterval = rateMs;
        fullResend();
    }
}

void UnitLink::onPoll()
{
    if (m_rxCount >= 1)
        fullResend();
}

void UnitLink::onOfflineCheck()
{
    for (int m = 1; m <= MaxUnits; ++m) {
        const auto index = m_table.findByNumber(m);
        if (!index)
            continue;
        const UnitRecord& r = m_table.at(*index);
        UnitSlot& slot = slotOf(m);
        if (m_clock.nowMs() - r.lastHeard <= OfflineAfterMs || slot.state == UnitState::OFFLINE || slot.offlineReported)
            continue;
        const Mac mac = r.mac;
        const std::uint32_t lastHeard = r.lastHeard;
        --m_unitCount;
        slot.offlineReported = true;
        // Told now, while the operator has not yet seen the message: the silence began
        // when the unit was last heard, not when the message is closed.
        m_events.unitGoneSilent(m, lastHeard);
        // Datagrams and timers are handled while the message is open; the record is
        // found again by its MAC afterwards.
        m_operator.message(format("RP8 Unit %d has gone off-line and will be de-activated", m));
        setState(m, UnitState::OFFLINE);
        if (m_table.findByMac(mac))
            removeRecord(mac, m, false);
    }
}

void UnitLink::onIdConflictEnd()
{
    m_timers.stop(TimerId::IdConflictEnd);
    if (m_lastIdConflictUnit >= 1 && slotOf(m_lastIdConflictUnit).idConflict)
        setState(m_lastIdConflictUnit, UnitState::ACTIVE);
    m_conflictPending = false;
}

void UnitLink::onIpConflictEnd()
{
    m_timers.stop(TimerId::IpConflictEnd);
    if (m_lastIpConflictUnit >= 1 && slotOf(m_lastIpConflictUnit).ipConflict) {
        slotOf(m_lastIpConflictUnit).ipConflict = false;
        setState(m_lastIpConflictUnit, UnitState::ACTIVE);
    }
    m_conflictPending = false;
}

} // namespace deskpanel
