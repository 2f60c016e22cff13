// The remote control under load, against the real main window (offscreen) and 48 units
// (47 simulated by unitsim, unit 1 played here so the datagrams it is sent can be timed):
// 1,000 OSC gain messages per second from one sender for SECONDS (20) while one subscriber
// takes the feedback and the meters of all 384 channels at 20 Hz; then the meters alone
// at 20 Hz to 4 subscribers. Prints DeskPanel's CPU share of one core while idle (units
// reporting, no OSC) and in each case, and the time from a message leaving the sender to
// the unit's datagram arriving (an upper bound of arrival to departure inside DeskPanel:
// two loopback hops more).
//   cmake --build build --target bench_remote_control unitsim
//   build/bench/bench_remote_control [SECONDS]
#include "app/DeskPanelApp.h"
#include "app/RemoteEndpoint.h"
#include "core/remote/OscCodec.h"
#include "tests/support/PacketBuilder.h"
#include "tests/support/QuietHost.h"
#include "tests/support/TempFolder.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <mutex>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace deskpanel;
using SteadyTime = std::chrono::steady_clock;

namespace {

constexpr std::uint16_t HostPort = 25800;
constexpr std::uint16_t UnitPort = 25801;
constexpr std::uint16_t RemotePort = 25802;

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

double processCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

int udpSocket(const char* address, std::uint16_t port)
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

void sendTo(int fd, const void* data, std::size_t size, std::uint16_t port)
{
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::sendto(fd, data, size, 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
}

// The bench's own threads, whose CPU time is not DeskPanel's.
std::mutex benchCpuLock;
double benchCpu = 0;
void addBenchCpu(double seconds)
{
    std::lock_guard<std::mutex> lock(benchCpuLock);
    benchCpu += seconds;
}

struct Stream {
    std::atomic<bool> running{false};
    std::atomic<bool> done{false};
    std::vector<SteadyTime::time_point> sentAt;
    std::atomic<int> sent{0};
    std::vector<double> latenciesUs;
};

// Unit 1: reports every 50 ms and times each datagram DeskPanel sends it against the
// newest message not yet answered.
void playUnitOne(Stream& stream)
{
    const int fd = udpSocket("127.0.1.1", UnitPort);
    test::UnitPacketFields fields;
    fields.unitNumber = 1;
    fields.mac = test::macOf(1);
    const PacketBytes report = test::unitPacket(fields);
    auto nextReport = SteadyTime::now();
    int matched = 0;
    std::uint8_t buffer[256];
    while (!stream.done) {
        if (SteadyTime::now() >= nextReport) {
            sendTo(fd, report.data(), report.size(), HostPort);
            nextReport += std::chrono::milliseconds(50);
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        const auto now = SteadyTime::now();
        const int newest = stream.sent.load() - 1;
        if (got == static_cast<ssize_t>(PacketSize) && stream.running && newest >= matched) {
            stream.latenciesUs.push_back(
                std::chrono::duration<double, std::micro>(now - stream.sentAt[static_cast<std::size_t>(newest)])
                    .count());
            matched = newest + 1;
        }
    }
    ::close(fd);
    addBenchCpu(threadCpuSeconds());
}

void sendGains(Stream& stream, int seconds)
{
    const int fd = udpSocket("127.0.0.1", 0);
    const int total = seconds * 1000;
    stream.sentAt.resize(static_cast<std::size_t>(total));
    const auto start = SteadyTime::now();
    stream.running = true;
    for (int k = 0; k < total; ++k) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(k));
        const OscMessage message{"/deskpanel/ch/" + std::to_string(k % 8 + 1) + "/gain",
                                 {static_cast<float>(8 + (k / 8) % 73)}};
        const std::vector<std::uint8_t> bytes = osc::encodeMessage(message);
        stream.sentAt[static_cast<std::size_t>(k)] = SteadyTime::now();
        sendTo(fd, bytes.data(), bytes.size(), RemotePort);
        stream.sent = k + 1;
    }
    stream.running = false;
    ::close(fd);
    addBenchCpu(threadCpuSeconds());
}

// A subscriber on its own loopback address: asks, sends the token back, takes the
// whole state, the feedback and (with `meters`) all 384 meters at 20 Hz, and reads
// whatever comes until `done`.
void subscribe(std::atomic<bool>& done, const char* address, bool feedback, int* meterDatagrams)
{
    const int fd = udpSocket(address, 0);
    std::uint8_t buffer[65536];
    const auto ask = [&](const OscMessage& message) {
        const std::vector<std::uint8_t> bytes = osc::encodeMessage(message);
        sendTo(fd, bytes.data(), bytes.size(), RemotePort);
    };
    const auto token = [&](const OscMessage& request) -> std::string {
        ask(request);
        for (int tries = 0; tries < 50; ++tries) {
            const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
            if (got <= 0)
                continue;
            for (const OscMessage& m : osc::decode(buffer, static_cast<std::size_t>(got)).messages)
                if (m.address == "/deskpanel/subscribe/token")
                    return std::get<std::string>(m.arguments.at(0));
        }
        return {};
    };
    if (feedback)
        ask({"/deskpanel/subscribe", {std::int32_t{60}, token({"/deskpanel/subscribe", {std::int32_t{60}}})}});
    const OscMessage meters{"/deskpanel/meters/subscribe",
                            {std::int32_t{60}, std::int32_t{1}, std::int32_t{MaxChannels}, std::int32_t{20}}};
    if (feedback)
        ask(meters); // a subscriber needs no second token
    else {
        OscMessage withToken = meters;
        withToken.arguments.emplace_back(token(meters));
        ask(withToken);
    }
    while (!done) {
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got > 0 && meterDatagrams && std::memcmp(buffer, "/deskpanel/meters\0", 18) == 0)
            ++*meterDatagrams;
    }
    ::close(fd);
    addBenchCpu(threadCpuSeconds());
}

// DeskPanel's CPU over `ms` of the event loop: the process less the bench's threads.
double deskPanelCpuShare(int ms, const std::function<void()>& during)
{
    const double process0 = processCpuSeconds();
    double bench0 = 0;
    {
        std::lock_guard<std::mutex> lock(benchCpuLock);
        bench0 = benchCpu;
    }
    QElapsedTimer wall;
    wall.start();
    during();
    // A real event loop, as the program runs one: it sleeps until something happens.
    QEventLoop loop;
    QTimer::singleShot(std::max<qint64>(0, ms - wall.elapsed()), &loop, &QEventLoop::quit);
    loop.exec();
    const double process1 = processCpuSeconds();
    std::lock_guard<std::mutex> lock(benchCpuLock);
    return 100.0 * ((process1 - process0) - (benchCpu - bench0)) / (static_cast<double>(wall.elapsed()) / 1000.0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    test::TempFolder folder;
    test::QuietOperator op;
    DeskPanelApp app(LinkPorts{HostPort, UnitPort}, op);
    MainWindow window(app, MainWindowOptions::inFolder(folder.path()));
    window.start();
    RemoteEndpoint& remote = window.remote();
    RemoteSettings settings;
    settings.enabled = true;
    settings.port = RemotePort;
    settings.allowedHosts = "127.0.0.1, 127.0.0.21, 127.0.0.22, 127.0.0.23, 127.0.0.24";
    remote.apply(settings);
    if (!remote.isListening()) {
        std::fprintf(stderr, "remote port %u is taken\n", unsigned{RemotePort});
        return 1;
    }
    QProcess rack;
    rack.start(QCoreApplication::applicationDirPath() + "/../tools/unitsim/unitsim",
               {"--units", "47", "--first", "2", "--first-address", "127.0.1.2", "--host-port",
                QString::number(HostPort), "--unit-port", QString::number(UnitPort)});
    Stream stream;
    std::thread unitOne(playUnitOne, std::ref(stream));
    QElapsedTimer waited;
    waited.start();
    while (app.link().unitCount() < 48 && waited.elapsed() < 15000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf("units present: %d\n", app.link().unitCount());

    const double idle = deskPanelCpuShare(10000, [] {});
    std::atomic<bool> subscribed{false};
    std::thread subscriber(subscribe, std::ref(subscribed), "127.0.0.21", true, nullptr);
    std::thread sender;
    const double loaded =
        deskPanelCpuShare(seconds * 1000, [&] { sender = std::thread(sendGains, std::ref(stream), seconds); });
    sender.join();
    subscribed = true;
    subscriber.join();

    std::atomic<bool> metered{false};
    int meterDatagrams[4] = {};
    std::vector<std::thread> meterers;
    const char* addresses[4] = {"127.0.0.21", "127.0.0.22", "127.0.0.23", "127.0.0.24"};
    const double meters = deskPanelCpuShare(10000, [&] {
        for (int i = 0; i < 4; ++i)
            meterers.emplace_back(subscribe, std::ref(metered), addresses[i], false, &meterDatagrams[i]);
    });
    metered = true;
    for (std::thread& t : meterers)
        t.join();
    stream.done = true;
    unitOne.join();
    rack.terminate();
    rack.waitForFinished(5000);

    std::vector<double> l = stream.latenciesUs;
    std::sort(l.begin(), l.end());
    const auto at = [&](double q) { return l.empty() ? 0.0 : l[static_cast<std::size_t>(q * (l.size() - 1))]; };
    std::printf("DeskPanel CPU: idle %.2f %%, with %d gain messages/s and one subscriber %.2f %% of one core "
                "(+%.2f)\n",
                idle, 1000, loaded, loaded - idle);
    std::printf("meters of 384 channels at 20 Hz to 4 subscribers: %.2f %% (+%.2f); datagrams in 10 s: %d %d %d %d\n",
                meters, meters - idle, meterDatagrams[0], meterDatagrams[1], meterDatagrams[2], meterDatagrams[3]);
    std::printf(
        "message sent -> unit datagram received: median %.0f us, 90 %% %.0f us, 99 %% %.0f us (%zu timed of %d)\n",
        at(0.5), at(0.9), at(0.99), l.size(), stream.sent.load());
    std::printf("refused %llu, dropped over the rate %llu\n",
                static_cast<unsigned long long>(remote.control().counts().refused),
                static_cast<unsigned long long>(remote.control().counts().droppedOverRate));
    return 0;
}
