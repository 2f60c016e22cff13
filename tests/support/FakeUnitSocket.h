#pragma once
#include "core/unitlink/UnitPacket.h"

#include <QApplication>
#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <vector>

namespace deskpanel::test {

// A unit's socket on a loopback address that collects what the program sends it.
class FakeUnitSocket {
public:
    explicit FakeUnitSocket(std::uint32_t address)
    {
        m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(address);
        socklen_t size = sizeof at;
        if (m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&at), &size) == 0)
            m_port = ntohs(at.sin_port);
    }
    ~FakeUnitSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FakeUnitSocket(const FakeUnitSocket&) = delete;
    FakeUnitSocket& operator=(const FakeUnitSocket&) = delete;
    std::uint16_t port() const { return m_port; }

    // Packets as they arrive while the UI thread runs, until `count` have come or the time is up.
    std::vector<PacketBytes> collect(std::size_t count, int limitMs)
    {
        std::vector<PacketBytes> packets;
        QElapsedTimer elapsed;
        elapsed.start();
        while (packets.size() < count && elapsed.elapsed() < limitMs) {
            QApplication::processEvents();
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0)
                continue;
            PacketBytes bytes{};
            if (::recv(m_fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()))
                packets.push_back(bytes);
        }
        return packets;
    }

    // The switch byte of input 1..8 in a packet to a unit: eight 6-byte channel blocks
    // from offset 34, the switch byte last in each.
    static std::uint8_t switchByte(const PacketBytes& packet, int input)
    {
        return packet[packet::Blocks + packet::BlockSize * static_cast<std::size_t>(input - 1) + packet::BlockSwitches];
    }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

} // namespace deskpanel::test
