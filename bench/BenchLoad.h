#pragma once
// What the remote benchmarks share: DeskPanel's CPU share measured apart from the bench's
// own threads, loopback UDP sockets, and unit 1 played by the bench so that the datagrams
// DeskPanel sends it can be timed against the messages that caused them.
#include "core/unitlink/UnitPacket.h"
#include "tests/support/PacketBuilder.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

namespace deskpanel::bench {

using SteadyTime = std::chrono::steady_clock;

inline double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The bench's own threads, whose CPU time is not DeskPanel's. Each counts itself from its
// start to its end (a BenchThread at the top of its function): a window then takes off
// exactly what they spent inside it, whether they end inside it, after it, or never.
// (Handing in a thread's total only at its end charged DeskPanel with the CPU of every
// thread still running when a window closed: unit 1, the subscribers, a sender a little
// late.)
struct BenchThreads {
    std::mutex lock;
    double ended = 0; // the CPU of the threads that ended
    std::vector<clockid_t> running;
};
inline BenchThreads benchThreads;

class BenchThread {
public:
    BenchThread()
    {
        pthread_getcpuclockid(pthread_self(), &m_clock);
        std::lock_guard<std::mutex> lock(benchThreads.lock);
        benchThreads.running.push_back(m_clock);
    }
    ~BenchThread()
    {
        std::lock_guard<std::mutex> lock(benchThreads.lock);
        std::erase(benchThreads.running, m_clock);
        benchThreads.ended += threadCpuSeconds();
    }
    BenchThread(const BenchThread&) = delete;
    BenchThread& operator=(const BenchThread&) = delete;

private:
    clockid_t m_clock{};
};

// The CPU all the bench's threads have spent so far.
inline double benchCpuSeconds()
{
    std::lock_guard<std::mutex> lock(benchThreads.lock);
    double seconds = benchThreads.ended;
    for (clockid_t clock : benchThreads.running) {
        timespec t{};
        clock_gettime(clock, &t);
        seconds += static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }
    return seconds;
}

// DeskPanel's CPU over `ms` of a real event loop (it sleeps until something happens, as
// the program's does), started after `during`: the process less the bench's threads.
inline double deskPanelCpuShare(int ms, const std::function<void()>& during = {})
{
    const double process0 = processCpuSeconds();
    const double bench0 = benchCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    if (during)
        during();
    QEventLoop loop;
    QTimer::singleShot(std::max<qint64>(0, ms - wall.elapsed()), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const double bench1 = benchCpuSeconds();
    const double process1 = processCpuSeconds();
    return 100.0 * ((process1 - process0) - (bench1 - bench0)) / (static_cast<double>(wall.elapsed()) / 1000.0);
}

// A UDP socket bound to `address`:`port` (0: any) that waits at most 20 ms to receive.
inline int udpSocket(const char* address, std::uint16_t port)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(port);
    ::inet_pton(AF_INET, address, &at.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
        std::perror("bind");
        std::exit(1);
    }
    timeval timeout{0, 20000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    return fd;
}

inline void sendTo(int fd, const void* data, std::size_t size, std::uint16_t port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd, data, size, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

// Messages a sender stamps as it sends them, and the unit's datagrams timed against them.
struct TimedSends {
    explicit TimedSends(std::size_t capacity) : sentAt(capacity) {}
    std::atomic<bool> running{false};
    std::atomic<bool> done{false};
    std::atomic<int> sent{0};
    std::vector<SteadyTime::time_point> sentAt;
    std::vector<double> latenciesUs;

    // The `q` quantile of the latencies (sorts them).
    double quantileUs(double q)
    {
        std::sort(latenciesUs.begin(), latenciesUs.end());
        return latenciesUs.empty() ? 0.0 : latenciesUs[static_cast<std::size_t>(q * (latenciesUs.size() - 1))];
    }
};

// Unit 1 at 127.0.1.1: reports every 50 ms and times each datagram DeskPanel sends it
// against the newest message not yet answered, until `sends.done`.
inline void playUnitOne(TimedSends& sends, std::uint16_t unitPort, std::uint16_t hostPort)
{
    const BenchThread counted;
    const int fd = udpSocket("127.0.1.1", unitPort);
    test::UnitPacketFields fields;
    fields.unitNumber = 1;
    fields.mac = test::macOf(1);
    const PacketBytes report = test::unitPacket(fields);
    auto nextReport = SteadyTime::now();
    int matched = 0;
    std::uint8_t buffer[256];
    while (!sends.done) {
        if (SteadyTime::now() >= nextReport) {
            sendTo(fd, report.data(), report.size(), hostPort);
            nextReport += std::chrono::milliseconds(50);
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        const auto now = SteadyTime::now();
        const int newest = sends.sent.load() - 1;
        if (got == static_cast<ssize_t>(PacketSize) && sends.running && newest >= matched) {
            sends.latenciesUs.push_back(
                std::chrono::duration<double, std::micro>(now - sends.sentAt[static_cast<std::size_t>(newest)])
                    .count());
            matched = newest + 1;
        }
    }
    ::close(fd);
}

} // namespace deskpanel::bench
