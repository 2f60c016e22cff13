#include "core/unitlink/UdpTransport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace deskpanel {

namespace {

// The first IPv4 address of this computer, looked up by its host name.
bool lookUpLocalAddress(std::string& text)
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return false;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr)
        return false;
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    text = ipv4Text(ntohl(address->sin_addr.s_addr));
    freeaddrinfo(found);
    return true;
}

} // namespace

UdpTransport::UdpTransport(DatagramHandOver::PostToUiThread postToUiThread, std::uint16_t hostPort,
                           std::uint32_t bindAddress)
    : m_post(std::move(postToUiThread)), m_hostPort(hostPort), m_bindAddress(bindAddress)
{
}

UdpTransport::~UdpTransport()
{
    close();
}

LinkTransport::OpenResult UdpTransport::open()
{
    OpenResult result;
    result.localLookupOk = lookUpLocalAddress(result.localIpText);
    m_receiveSocket = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (m_receiveSocket < 0)
        return result;
    result.socketCreated = true;
    const int yes = 1;
    result.reuseAddressSet = ::setsockopt(m_receiveSocket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes) == 0;
    const int bufferBytes = ReceiveBufferBytes;
    ::setsockopt(m_receiveSocket, SOL_SOCKET, SO_RCVBUF, &bufferBytes, sizeof bufferBytes);

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_hostPort);
    address.sin_addr.s_addr = htonl(m_bindAddress);
    if (::bind(m_receiveSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(m_receiveSocket);
        m_receiveSocket = -1;
        return result;
    }
    socklen_t length = sizeof address;
    ::getsockname(m_receiveSocket, reinterpret_cast<sockaddr*>(&address), &length);
    m_boundPort = ntohs(address.sin_port);
    result.bound = true;
    return result;
}

void UdpTransport::startReceiving(Handler handler)
{
    if (m_receiveSocket < 0 || m_thread.joinable())
        return;
    if (::pipe(m_wakePipe) != 0)
        return;
    m_stopRequested = false;
    m_handOver = std::make_unique<DatagramHandOver>(m_post, std::move(handler));
    m_thread = std::thread([this] { receiveLoop(); });
}

void UdpTransport::receiveLoop()
{
    // Larger than a packet, so that an oversized datagram shows as one and is dropped
    // rather than read as its first 97 bytes.
    std::uint8_t buffer[2048];
    pollfd watched[2] = {{m_receiveSocket, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
    while (!m_stopRequested) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (watched[1].revents != 0 || m_stopRequested)
            break;
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t size = ::recvfrom(m_receiveSocket, buffer, sizeof buffer, MSG_DONTWAIT,
                                        reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (size != static_cast<ssize_t>(PacketSize))
            continue; // wrong length or a failed receive: dropped
        m_received.fetch_add(1);
        Datagram datagram;
        std::memcpy(datagram.bytes.data(), buffer, PacketSize);
        datagram.from = Ipv4Endpoint{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
        if (!m_handOver->deliver(datagram))
            break;
    }
}

void UdpTransport::close()
{
    m_stopRequested = true;
    if (m_handOver)
        m_handOver->cancel();
    if (m_wakePipe[1] >= 0) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakePipe[1], &wake, 1);
    }
    if (m_thread.joinable())
        m_thread.join();
    for (int* fd : {&m_receiveSocket, &m_sendSocket, &m_wakePipe[0], &m_wakePipe[1]}) {
        if (*fd >= 0) {
            ::close(*fd);
            *fd = -1;
        }
    }
}

bool UdpTransport::send(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& to)
{
    // A fresh socket for every datagram, as units have always been addressed: the
    // system picks the source port.
    if (m_sendSocket >= 0)
        ::close(m_sendSocket);
    m_sendSocket = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (m_sendSocket < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(to.port);
    address.sin_addr.s_addr = htonl(to.address);
    ::sendto(m_sendSocket, data, size, 0, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return true;
}

} // namespace deskpanel
