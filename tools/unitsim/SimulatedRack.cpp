#include "SimulatedRack.h"

#include "core/host/Clock.h"
#include "core/host/Ipv4Endpoint.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace unitsim {

using namespace deskpanel;

SimulatedRack::SimulatedRack(RackOptions options) : m_options(std::move(options))
{}

SimulatedRack::~SimulatedRack()
{
    for (Slot& slot : m_slots)
        if (slot.socket >= 0)
            ::close(slot.socket);
}

bool SimulatedRack::open(std::string& error)
{
    std::uint32_t first = 0;
    if (!parseIpv4(m_options.firstAddress, first) || !parseIpv4(m_options.hostAddress, m_hostAddress)) {
        error = "addresses must be dotted IPv4 text";
        return false;
    }
    for (int k = 0; k < m_options.unitCount; ++k) {
        const int number = m_options.firstUnitNumber + k;
        UnitBehaviour behaviour = m_options.behaviours.count(number) ? m_options.behaviours[number] : UnitBehaviour{};
        if (!m_options.behaviours.count(number))
            behaviour.reportedNumber = number;
        behaviour.fixedIntervalMs = m_options.fixedIntervalMs;
        const std::uint32_t address = first + static_cast<std::uint32_t>(k);
        Slot slot{SimulatedUnit(number, behaviour), ipv4Text(address), address};
        slot.socket = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in bindTo{};
        bindTo.sin_family = AF_INET;
        bindTo.sin_port = htons(m_options.unitPort);
        bindTo.sin_addr.s_addr = htonl(address);
        if (slot.socket < 0 || ::bind(slot.socket, reinterpret_cast<sockaddr*>(&bindTo), sizeof bindTo) != 0) {
            error =
                "cannot bind " + slot.address + ":" + std::to_string(m_options.unitPort) + ": " + std::strerror(errno);
            if (slot.socket >= 0)
                ::close(slot.socket);
            return false;
        }
        // Spread the first packets over the first interval, as units powered up together do.
        slot.nextSendMs = static_cast<std::uint32_t>(k * 2);
        m_slots.push_back(std::move(slot));
    }
    return true;
}

void SimulatedRack::sendStatus(Slot& slot, std::uint32_t nowMs)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(m_options.hostPort);
    to.sin_addr.s_addr = htonl(m_hostAddress);
    const PacketBytes bytes = slot.unit.statusPacket(nowMs);
    ::sendto(slot.socket, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ++slot.sent;
    if (slot.unit.behaviour().foreignMac) {
        const PacketBytes other = slot.unit.statusPacket(nowMs, true);
        ::sendto(slot.socket, other.data(), other.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        ++slot.sent;
    }
}

void SimulatedRack::receiveFrom(Slot& slot)
{
    std::uint8_t buffer[2048];
    for (;;) {
        const ssize_t size = ::recv(slot.socket, buffer, sizeof buffer, MSG_DONTWAIT);
        if (size < 0)
            return;
        ++m_received;
        slot.unit.apply(buffer, static_cast<std::size_t>(size));
    }
}

void SimulatedRack::run(const std::atomic<bool>& stop, std::atomic<bool>& reportNow)
{
    SteadyClock clock;
    const std::uint32_t startMs = clock.nowMs();
    std::uint32_t nextReportMs = m_options.reportEveryMs;
    std::vector<pollfd> watched;
    for (const Slot& slot : m_slots)
        watched.push_back({slot.socket, POLLIN, 0});

    while (!stop) {
        const std::uint32_t nowMs = clock.nowMs() - startMs;
        if (m_options.durationMs != 0 && nowMs >= m_options.durationMs)
            break;
        std::uint32_t nextDueMs = nowMs + 50;
        for (Slot& slot : m_slots) {
            if (static_cast<std::int32_t>(nowMs - slot.nextSendMs) >= 0) {
                if (!slot.unit.silentAt(nowMs))
                    sendStatus(slot, nowMs);
                slot.nextSendMs = nowMs + slot.unit.intervalMs();
            }
            if (static_cast<std::int32_t>(slot.nextSendMs - nextDueMs) < 0)
                nextDueMs = slot.nextSendMs;
        }
        if (reportNow.exchange(false) || (m_options.reportEveryMs != 0 && nowMs >= nextReportMs)) {
            report();
            nextReportMs = nowMs + m_options.reportEveryMs;
        }
        const int waitMs = static_cast<int>(nextDueMs - nowMs);
        if (::poll(watched.data(), watched.size(), waitMs < 0 ? 0 : waitMs) > 0) {
            for (std::size_t i = 0; i < watched.size(); ++i)
                if (watched[i].revents & POLLIN)
                    receiveFrom(m_slots[i]);
        }
    }
}

void SimulatedRack::report() const
{
    std::uint64_t sent = 0;
    int configured = 0;
    for (const Slot& slot : m_slots) {
        std::printf("%s\n", slot.unit.reportJson(slot.address).c_str());
        sent += slot.sent;
    }
    for (const Slot& slot : m_slots)
        if (slot.unit.reportJson("").find("\"set\":true") != std::string::npos)
            ++configured;
    std::printf("{\"summary\":{\"units\":%zu,\"unitsConfiguredByHost\":%d,\"statusPacketsSent\":%llu,"
                "\"packetsReceived\":%llu}}\n",
                m_slots.size(), configured, static_cast<unsigned long long>(sent),
                static_cast<unsigned long long>(m_received));
    std::fflush(stdout);
}

} // namespace unitsim
