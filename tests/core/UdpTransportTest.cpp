// The receive thread and its hand-over to the UI thread, over real loopback sockets.
// These tests also run under ThreadSanitizer.
#include "core/unitlink/UdpTransport.h"
#include "tests/support/PacketBuilder.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <netinet/in.h>
#include <numeric>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace deskpanel;
using namespace deskpanel::test;
using namespace std::chrono_literals;

namespace {

// The test's own thread plays the UI thread: it runs what the transport posts to it.
class UiThreadQueue {
public:
    void post(std::function<void()> work)
    {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(work));
        m_ready.notify_one();
    }
    // Runs posted work until `done` holds or the time is up.
    bool runUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (!done()) {
            std::function<void()> work;
            {
                std::unique_lock lock(m_mutex);
                if (!m_ready.wait_until(lock, deadline, [&] { return !m_queue.empty(); }))
                    return done();
                work = std::move(m_queue.front());
                m_queue.pop_front();
            }
            work();
        }
        return true;
    }
    // Waits, without running anything, until `count` pieces of work are queued; false when
    // the time ran out first.
    bool waitForQueued(std::size_t count, std::chrono::milliseconds limit)
    {
        std::unique_lock lock(m_mutex);
        return m_ready.wait_for(lock, limit, [&] { return m_queue.size() >= count; });
    }
    std::size_t queued()
    {
        std::lock_guard lock(m_mutex);
        return m_queue.size();
    }
    // Runs the oldest piece of queued work, if there is one.
    void runOne()
    {
        std::function<void()> work;
        {
            std::lock_guard lock(m_mutex);
            if (m_queue.empty())
                return;
            work = std::move(m_queue.front());
            m_queue.pop_front();
        }
        work();
    }
    void runPending()
    {
        for (;;) {
            std::function<void()> work;
            {
                std::lock_guard lock(m_mutex);
                if (m_queue.empty())
                    return;
                work = std::move(m_queue.front());
                m_queue.pop_front();
            }
            work();
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_queue;
};

void sendTo(std::uint16_t port, const std::uint8_t* data, std::size_t size)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd, data, size, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    ::close(fd);
}

constexpr std::uint32_t Loopback = 0x7F000001;

} // namespace

TEST(UdpTransportThread, HandsOverWholePacketsOnlyAndInOrder)
{
    UiThreadQueue ui;
    UdpTransport transport([&](std::function<void()> work) { ui.post(std::move(work)); }, 0, Loopback);
    ASSERT_TRUE(transport.open().bound);
    std::vector<int> unitNumbers;
    transport.startReceiving([&](const Datagram& d) { unitNumbers.push_back(d.bytes[5]); });

    for (int unit = 1; unit <= 5; ++unit) {
        UnitPacketFields fields;
        fields.unitNumber = static_cast<std::uint8_t>(unit);
        const PacketBytes bytes = unitPacket(fields);
        sendTo(transport.boundPort(), bytes.data(), bytes.size());
        sendTo(transport.boundPort(), bytes.data(), 96); // too short: dropped
        std::uint8_t longer[98] = {};
        sendTo(transport.boundPort(), longer, sizeof longer); // too long: dropped
    }
    EXPECT_TRUE(ui.runUntil([&] { return unitNumbers.size() == 5; }, 5000ms));
    EXPECT_EQ(unitNumbers, (std::vector<int>{1, 2, 3, 4, 5}));
    transport.close();
}

namespace {

// Sends `count` packets whose unit number byte counts from 0.
void sendNumbered(std::uint16_t port, int count)
{
    for (int i = 0; i < count; ++i) {
        UnitPacketFields fields;
        fields.unitNumber = static_cast<std::uint8_t>(i);
        const PacketBytes bytes = unitPacket(fields);
        sendTo(port, bytes.data(), bytes.size());
    }
}

} // namespace

TEST(UdpTransportThread, ReceiverHandsOverAtMostABatchAndWaitsWhileTheUiThreadHandlesIt)
{
    UiThreadQueue ui;
    UdpTransport transport([&](std::function<void()> work) { ui.post(std::move(work)); }, 0, Loopback);
    ASSERT_TRUE(transport.open().bound);
    sendNumbered(transport.boundPort(), 100);
    std::vector<int> unitNumbers;
    transport.startReceiving([&](const Datagram& d) { unitNumbers.push_back(d.bytes[5]); });
    // What has arrived goes over as one batch of at most 64; the receiver takes nothing
    // more until the UI thread has handled it, then the rest follows.
    ASSERT_TRUE(ui.waitForQueued(1, 5000ms));
    EXPECT_EQ(transport.receivedCount(), DatagramHandOver::MaxBatch);
    EXPECT_EQ(ui.queued(), 1u);
    ui.runOne();
    EXPECT_EQ(unitNumbers.size(), DatagramHandOver::MaxBatch);
    ASSERT_TRUE(ui.waitForQueued(1, 5000ms));
    EXPECT_EQ(transport.receivedCount(), 100u);
    ui.runOne();
    std::vector<int> expected(100);
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(unitNumbers, expected);
    transport.close();
}

TEST(UdpTransportThread, AStopInsideABatchLeavesTheRestOfItUnhandled)
{
    UiThreadQueue ui;
    UdpTransport transport([&](std::function<void()> work) { ui.post(std::move(work)); }, 0, Loopback);
    ASSERT_TRUE(transport.open().bound);
    sendNumbered(transport.boundPort(), 10);
    int handled = 0;
    transport.startReceiving([&](const Datagram&) {
        if (++handled == 3)
            transport.close(); // as a handler that ends the program would
    });
    ASSERT_TRUE(ui.waitForQueued(1, 5000ms));
    ui.runPending();
    EXPECT_EQ(handled, 3);
}

TEST(UdpTransportThread, StopWhileFloodedNeitherHangsNorCallsTheHandlerAfterwards)
{
    for (int round = 0; round < 3; ++round) {
        UiThreadQueue ui;
        std::atomic<int> handled{0};
        auto transport =
            std::make_unique<UdpTransport>([&](std::function<void()> work) { ui.post(std::move(work)); }, 0, Loopback);
        ASSERT_TRUE(transport->open().bound);
        const std::uint16_t port = transport->boundPort();
        transport->startReceiving([&](const Datagram&) { ++handled; });

        std::atomic<bool> flooding{true};
        std::thread flood([&] {
            const PacketBytes bytes = unitPacket({});
            for (int i = 0; i < 200000 && flooding; ++i)
                sendTo(port, bytes.data(), bytes.size());
        });
        // Not an ASSERT: the flooding thread must still be joined below.
        EXPECT_TRUE(ui.runUntil([&] { return handled >= 50; }, 5000ms));
        // The receiver is blocked in a hand-over that the UI thread will not run now.
        const auto before = std::chrono::steady_clock::now();
        transport->close();
        EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
        const int handledAtStop = handled;
        transport.reset();
        ui.runPending(); // queued hand-overs run after the transport is gone: ignored
        EXPECT_EQ(handled, handledAtStop);
        flooding = false;
        flood.join();
    }
}

TEST(UdpTransportThread, AFailedWaitLosesOneRoundAndReceivingGoesOn)
{
    UiThreadQueue ui;
    UdpTransport transport([&](std::function<void()> work) { ui.post(std::move(work)); }, 0, Loopback);
    ASSERT_TRUE(transport.open().bound);
    int handled = 0;
    transport.simulateWaitFailures(3);
    transport.startReceiving([&](const Datagram&) { ++handled; });
    const PacketBytes bytes = unitPacket({});
    sendTo(transport.boundPort(), bytes.data(), bytes.size());
    EXPECT_TRUE(ui.runUntil([&] { return handled == 1; }, 5000ms));
    transport.close();
}
