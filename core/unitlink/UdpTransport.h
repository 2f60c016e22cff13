#pragma once
#include "core/unitlink/DatagramHandOver.h"
#include "core/unitlink/LinkTransport.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <thread>

namespace deskpanel {

// UDP sockets for the unit link: one bound receiving socket on the host port with a
// receive thread, and a fresh unbound socket for every datagram sent. POSIX sockets,
// or Winsock 2.2 on Windows.
class UdpTransport : public LinkTransport {
public:
    // The receive buffer is enlarged well beyond the default so that a burst from a full
    // rack is not dropped while the UI thread is busy.
    static constexpr int ReceiveBufferBytes = 1 << 20;
    // The most reads in one round of the receive thread, dropped datagrams included.
    static constexpr int MaxReadsPerRound = 256;
    // The receive thread's pause after a wait for datagrams has failed.
    static constexpr std::chrono::milliseconds FailedWaitPause{20};
#ifdef _WIN32
    using SocketHandle = std::uintptr_t;
#else
    using SocketHandle = int;
#endif

    UdpTransport(DatagramHandOver::PostToUiThread postToUiThread, std::uint16_t hostPort,
                 std::uint32_t bindAddress = 0 /* any */);
    ~UdpTransport() override;

    OpenResult open() override;
    void startReceiving(Handler handler) override;
    void close() override;
    bool send(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& to) override;

    std::uint16_t boundPort() const
    {
        return m_boundPort;
    }
    std::uint64_t receivedCount() const
    {
        return m_received.load();
    }
    // For tests: the receive thread's next `count` waits fail as a failing poll would.
    void simulateWaitFailures(int count)
    {
        m_simulatedWaitFailures = count;
    }

private:
    enum class Wait {
        Readable,
        Failed,
        Stopped
    };
    void receiveLoop();
    // Blocks until a datagram can be read, the wait fails, or stop was asked for.
    Wait waitForDatagram();
    void wakeReceiver();

    DatagramHandOver::PostToUiThread m_post;
    std::uint16_t m_hostPort;
    std::uint32_t m_bindAddress;
    std::uint16_t m_boundPort = 0;
    bool m_stackStarted = false;
    SocketHandle m_receiveSocket;
    SocketHandle m_sendSocket;
    int m_wakePipe[2] = {-1, -1}; // POSIX only: wakes the receiver at stop
    std::unique_ptr<DatagramHandOver> m_handOver;
    std::thread m_thread;
    std::atomic<bool> m_stopRequested{false};
    std::atomic<std::uint64_t> m_received{0};
    std::atomic<int> m_simulatedWaitFailures{0};
};

} // namespace deskpanel
