#include "core/unitlink/UdpTransport.h"

#include "core/unitlink/LocalAddress.h"

#include <cstring>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace deskpanel {

namespace {

#ifdef _WIN32
constexpr UdpTransport::SocketHandle NoSocket = static_cast<UdpTransport::SocketHandle>(INVALID_SOCKET);
using SocketLength = int;
void closeSocket(UdpTransport::SocketHandle s)
{
    ::closesocket(static_cast<SOCKET>(s));
}
#else
constexpr UdpTransport::SocketHandle NoSocket = -1;
using SocketLength = socklen_t;
void closeSocket(UdpTransport::SocketHandle s)
{
    ::close(s);
}
#endif

bool startSocketLayer()
{
#ifdef _WIN32
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
#else
    return true;
#endif
}

void stopSocketLayer()
{
#ifdef _WIN32
    WSACleanup();
#endif
}

UdpTransport::SocketHandle newUdpSocket()
{
    return static_cast<UdpTransport::SocketHandle>(::socket(AF_INET, SOCK_DGRAM, 0));
}

sockaddr_in socketAddress(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in result{};
    result.sin_family = AF_INET;
    result.sin_port = htons(port);
    result.sin_addr.s_addr = htonl(address);
    return result;
}

} // namespace

UdpTransport::UdpTransport(DatagramHandOver::PostToUiThread postToUiThread, std::uint16_t hostPort,
                           std::uint32_t bindAddress)
    : m_post(std::move(postToUiThread)),
      m_hostPort(hostPort),
      m_bindAddress(bindAddress),
      m_receiveSocket(NoSocket),
      m_sendSocket(NoSocket)
{}

UdpTransport::~UdpTransport()
{
    close();
}

LinkTransport::OpenResult UdpTransport::open()
{
    OpenResult result;
    result.port = m_hostPort;
    if (!m_stackStarted)
        m_stackStarted = startSocketLayer();
    result.stackStarted = m_stackStarted;
    if (!m_stackStarted)
        return result;
    if (const auto local = localIpv4Address()) {
        result.localLookupOk = true;
        result.localIpText = *local;
    }
    m_receiveSocket = newUdpSocket();
    if (m_receiveSocket == NoSocket)
        return result;
    result.socketCreated = true;
    const int yes = 1;
#ifdef _WIN32
    // On Windows SO_REUSEADDR lets another program, or a copy in another user session,
    // bind the same port beside this one, and units would flap between the two. The
    // exclusive use makes the second bind fail, so that copy says the port is taken.
    const int option = SO_EXCLUSIVEADDRUSE;
#else
    // As the link has always set it here.
    const int option = SO_REUSEADDR;
#endif
    result.reuseAddressSet =
        ::setsockopt(m_receiveSocket, SOL_SOCKET, option, reinterpret_cast<const char*>(&yes), sizeof yes) == 0;
    const int bufferBytes = ReceiveBufferBytes;
    ::setsockopt(m_receiveSocket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bufferBytes),
                 sizeof bufferBytes);

    sockaddr_in address = socketAddress(m_bindAddress, m_hostPort);
    if (::bind(m_receiveSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closeSocket(m_receiveSocket);
        m_receiveSocket = NoSocket;
        return result;
    }
    // The receive thread waits in poll/select and then reads until nothing more is there.
#ifdef _WIN32
    u_long nonBlocking = 1;
    ::ioctlsocket(static_cast<SOCKET>(m_receiveSocket), FIONBIO, &nonBlocking);
#else
    ::fcntl(m_receiveSocket, F_SETFL, ::fcntl(m_receiveSocket, F_GETFL) | O_NONBLOCK);
#endif
    SocketLength length = sizeof address;
    ::getsockname(m_receiveSocket, reinterpret_cast<sockaddr*>(&address), &length);
    m_boundPort = ntohs(address.sin_port);
    result.port = m_boundPort;
    result.bound = true;
    return result;
}

void UdpTransport::startReceiving(Handler handler)
{
    if (m_receiveSocket == NoSocket || m_thread.joinable())
        return;
#ifndef _WIN32
    if (::pipe(m_wakePipe) != 0)
        return;
#endif
    m_stopRequested = false;
    m_handOver = std::make_unique<DatagramHandOver>(m_post, std::move(handler));
    m_thread = std::thread([this] { receiveLoop(); });
}

UdpTransport::Wait UdpTransport::waitForDatagram()
{
    if (m_simulatedWaitFailures > 0) {
        --m_simulatedWaitFailures;
        return Wait::Failed;
    }
#ifdef _WIN32
    // Closing the socket at stop ends a blocking select with an error.
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(static_cast<SOCKET>(m_receiveSocket), &readable);
    const int ready = ::select(0, &readable, nullptr, nullptr, nullptr);
    if (m_stopRequested)
        return Wait::Stopped;
    return ready > 0 ? Wait::Readable : Wait::Failed;
#else
    pollfd watched[2] = {{m_receiveSocket, POLLIN, 0}, {m_wakePipe[0], POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) >= 0)
            break;
        if (errno != EINTR)
            return Wait::Failed;
    }
    return watched[1].revents == 0 && !m_stopRequested ? Wait::Readable : Wait::Stopped;
#endif
}

void UdpTransport::receiveLoop()
{
    // Larger than a packet, so that an oversized datagram shows as one and is dropped
    // rather than read as its first 97 bytes.
    char buffer[2048];
    std::vector<Datagram> batch;
    batch.reserve(DatagramHandOver::MaxBatch);
    while (!m_stopRequested) {
        const Wait wait = waitForDatagram();
        if (wait == Wait::Stopped)
            break;
        if (wait == Wait::Failed) {
            // This round is lost, the units are not: wait again after a pause, so that
            // an error that persists does not keep a core busy.
            std::this_thread::sleep_for(FailedWaitPause);
            continue;
        }
        // Everything that has arrived goes over together, up to a batch; the socket does not
        // block, so the read that finds nothing more ends the round. The reads are bounded
        // too, so that a flood of wrong-sized datagrams still lets a stop through.
        for (int reads = 0; reads < MaxReadsPerRound && batch.size() < DatagramHandOver::MaxBatch && !m_stopRequested;
             ++reads) {
            sockaddr_in from{};
            SocketLength fromLength = sizeof from;
            const auto size =
                ::recvfrom(m_receiveSocket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (size < 0)
                break; // nothing more has arrived, or the receive failed
            if (static_cast<long long>(size) != static_cast<long long>(PacketSize))
                continue; // wrong length: dropped
            m_received.fetch_add(1);
            Datagram& datagram = batch.emplace_back();
            std::memcpy(datagram.bytes.data(), buffer, PacketSize);
            datagram.from = Ipv4Endpoint{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
        }
        if (batch.empty())
            continue;
        if (!m_handOver->deliver(std::exchange(batch, {})))
            break;
        batch.reserve(DatagramHandOver::MaxBatch);
    }
}

void UdpTransport::wakeReceiver()
{
#ifdef _WIN32
    if (m_receiveSocket != NoSocket) {
        closeSocket(m_receiveSocket);
        m_receiveSocket = NoSocket;
    }
#else
    if (m_wakePipe[1] >= 0) {
        const char wake = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakePipe[1], &wake, 1);
    }
#endif
}

void UdpTransport::close()
{
    m_stopRequested = true;
    if (m_handOver)
        m_handOver->cancel();
    wakeReceiver();
    if (m_thread.joinable())
        m_thread.join();
    for (SocketHandle* s : {&m_receiveSocket, &m_sendSocket}) {
        if (*s != NoSocket) {
            closeSocket(*s);
            *s = NoSocket;
        }
    }
#ifndef _WIN32
    for (int& fd : m_wakePipe) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
#endif
    if (m_stackStarted) {
        stopSocketLayer();
        m_stackStarted = false;
    }
}

bool UdpTransport::send(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& to)
{
    // A fresh socket for every datagram, as units have always been addressed: the
    // system picks the source port.
    if (m_sendSocket != NoSocket)
        closeSocket(m_sendSocket);
    m_sendSocket = newUdpSocket();
    if (m_sendSocket == NoSocket)
        return false;
    const sockaddr_in address = socketAddress(to.address, to.port);
    ::sendto(m_sendSocket, reinterpret_cast<const char*>(data), static_cast<int>(size), 0,
             reinterpret_cast<const sockaddr*>(&address), sizeof address);
    return true;
}

} // namespace deskpanel
