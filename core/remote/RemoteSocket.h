#pragma once
#include "core/host/DatagramSender.h"

#include <cstdint>
#include <string>
#include <vector>

namespace deskpanel {

// The remote control's one UDP socket, non-blocking, so the event loop can watch it and
// read whatever waits without a thread of its own. Answers leave from it, so a client
// hears back from the port it sent to. POSIX sockets, or Winsock 2.2 on Windows.
class RemoteSocket : public DatagramSender {
public:
#ifdef _WIN32
    using Handle = std::uintptr_t;
#else
    using Handle = int;
#endif
    // A datagram longer than this is cut, and then refused by the reader.
    static constexpr std::size_t ReceiveBytes = 65536;

    RemoteSocket() = default;
    ~RemoteSocket() override;
    RemoteSocket(const RemoteSocket&) = delete;
    RemoteSocket& operator=(const RemoteSocket&) = delete;

    // Binds the address and port (no address sharing: a taken port fails). On failure
    // `error` says why.
    bool open(std::uint32_t address, std::uint16_t port, std::string& error);
    void close();
    bool isOpen() const
    {
        return m_open;
    }
    Handle handle() const
    {
        return m_socket;
    }

    // Reads one waiting datagram into `data`; false when none waits.
    bool receive(std::vector<std::uint8_t>& data, Ipv4Endpoint& from);
    bool send(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& to) override;

private:
    Handle m_socket{};
    bool m_open = false;
    std::vector<std::uint8_t> m_buffer;
};

} // namespace deskpanel
