#pragma once
// What the benchmarks that send to units over loopback share: the units' socket, the
// events that hand new units their settings, and the median of the timed calls.
#include "core/model/ChannelControl.h"
#include "core/unitlink/UnitLink.h"
#include "core/unitlink/UnitLinkEvents.h"
#include "tests/support/PacketBuilder.h"

#include <algorithm>
#include <arpa/inet.h>
#include <chrono>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace deskpanel::bench {

// New units get their settings from the channel control, as in the program.
class Events : public NullUnitLinkEvents {
public:
    ChannelControl* control = nullptr;
    void saveUnitSettings(int unit) override { control->saveUnitSettings(unit); }
    void restoreUnitSettings(int unit) override { control->restoreUnitSettings(unit); }
};

// Units 1..count report in, each from its own loopback address so that none conflicts
// with another; each new unit is sent its eight inputs (48 parameters).
inline void announceUnits(UnitLink& link, int count)
{
    for (int unit = 1; unit <= count; ++unit) {
        test::UnitPacketFields fields;
        fields.unitNumber = static_cast<std::uint8_t>(unit);
        fields.mac = test::macOf(unit);
        const PacketBytes bytes = test::unitPacket(fields);
        const Ipv4Endpoint from{(127u << 24) | static_cast<std::uint32_t>(unit + 1), 40000};
        link.handleDatagram(bytes.data(), bytes.size(), from);
    }
}

// The units' side: one socket on loopback that every unit address reaches.
class UnitsSocket {
public:
    UnitsSocket()
    {
        m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        int bufferBytes = 4 << 20;
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);
        timeval timeout{1, 0}; // a lost datagram must not hang the benchmark
        ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        ::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~UnitsSocket() { ::close(m_fd); }
    std::uint16_t port() const { return m_port; }

    // Waits for `count` datagrams; false when one did not come within a second.
    bool receive(int count)
    {
        std::uint8_t buffer[512];
        for (int i = 0; i < count; ++i)
            if (::recv(m_fd, buffer, sizeof buffer, 0) < 0)
                return false;
        return true;
    }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

inline double medianUs(std::vector<double>& samples)
{
    if (samples.empty())
        return 0;
    std::nth_element(samples.begin(), samples.begin() + static_cast<long>(samples.size() / 2), samples.end());
    return samples[samples.size() / 2];
}

using StopClock = std::chrono::steady_clock;

inline double elapsedUs(StopClock::time_point since)
{
    return std::chrono::duration<double, std::micro>(StopClock::now() - since).count();
}

} // namespace deskpanel::bench
