#include "core/remote/RemoteSocket.h"

#include <cstring>
#include <string>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace deskpanel {
namespace {

sockaddr_in socketAddress(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

#ifdef _WIN32
// SIO_UDP_CONNRESET, from mstcpip.h, which not every tool chain ships.
constexpr DWORD SIO_UDP_CONNRESET_CODE = IOC_IN | IOC_VENDOR | 12;
using SocketLength = int;
std::string lastError()
{
    return "socket error " + std::to_string(WSAGetLastError());
}
#else
using SocketLength = socklen_t;
std::string lastError()
{
    return std::strerror(errno);
}
#endif

} // namespace

RemoteSocket::~RemoteSocket()
{
    close();
}

bool RemoteSocket::open(std::uint32_t address, std::uint16_t port, std::string& error)
{
    close();
#ifdef _WIN32
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        error = "the socket layer could not be started";
        return false;
    }
    const SOCKET s = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) {
        error = lastError();
        WSACleanup();
        return false;
    }
    u_long nonBlocking = 1;
    ::ioctlsocket(s, FIONBIO, &nonBlocking);
    // No other program (nor a copy in another session) may bind the same port beside it.
    BOOL exclusive = TRUE;
    ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive), sizeof exclusive);
    // An answer sent to a port that is closed comes back as ICMP "port unreachable",
    // which Windows turns into WSAECONNRESET on the next read: the read loop would stop
    // for every client that went away.
    DWORD reportReset = FALSE;
    DWORD returned = 0;
    ::WSAIoctl(s, SIO_UDP_CONNRESET_CODE, &reportReset, sizeof reportReset, nullptr, 0, &returned, nullptr, nullptr);
    m_socket = static_cast<Handle>(s);
#else
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0) {
        error = lastError();
        return false;
    }
    m_socket = s;
#endif
    m_open = true;
    const sockaddr_in at = socketAddress(address, port);
    if (::bind(m_socket, reinterpret_cast<const sockaddr*>(&at), sizeof at) != 0) {
        error = lastError();
        close();
        return false;
    }
    return true;
}

void RemoteSocket::close()
{
    if (!m_open)
        return;
    m_open = false;
#ifdef _WIN32
    ::closesocket(static_cast<SOCKET>(m_socket));
    WSACleanup();
#else
    ::close(m_socket);
#endif
}

bool RemoteSocket::receive(std::vector<std::uint8_t>& data, Ipv4Endpoint& from)
{
    if (!m_open)
        return false;
    // Read into a buffer kept from call to call: filling 64 KB afresh for every datagram
    // would cost more than reading it.
    m_buffer.resize(ReceiveBytes);
    sockaddr_in sender{};
    SocketLength length = sizeof sender;
    const auto got = ::recvfrom(m_socket, reinterpret_cast<char*>(m_buffer.data()), static_cast<int>(m_buffer.size()),
                                0, reinterpret_cast<sockaddr*>(&sender), &length);
    if (got < 0) {
        data.clear();
        return false;
    }
    data.assign(m_buffer.begin(), m_buffer.begin() + got);
    from = Ipv4Endpoint{ntohl(sender.sin_addr.s_addr), ntohs(sender.sin_port)};
    return true;
}

bool RemoteSocket::send(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& to)
{
    if (!m_open)
        return false;
    const sockaddr_in at = socketAddress(to.address, to.port);
    return ::sendto(m_socket, reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
                    reinterpret_cast<const sockaddr*>(&at), sizeof at) >= 0;
}

} // namespace deskpanel
