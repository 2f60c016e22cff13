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
#include "bench/BenchLoad.h"
#include "core/remote/OscCodec.h"
#include "tests/support/QuietHost.h"
#include "tests/support/TempFolder.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace deskpanel;
using namespace deskpanel::bench;

namespace {

constexpr std::uint16_t HostPort = 25800;
constexpr std::uint16_t UnitPort = 25801;
constexpr std::uint16_t RemotePort = 25802;

void sendGains(bench::TimedSends& stream, int seconds)
{
    const BenchThread counted;
    const int fd = udpSocket("127.0.0.1", 0);
    const int total = seconds * 1000;
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
}

// A subscriber on its own loopback address: asks, sends the token back, takes the
// whole state, the feedback and (with `meters`) all 384 meters at 20 Hz, and reads
// whatever comes until `done`.
void subscribe(std::atomic<bool>& done, const char* address, bool feedback, int* meterDatagrams)
{
    const BenchThread counted;
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
    bench::TimedSends stream(static_cast<std::size_t>(seconds) * 1000);
    std::thread unitOne(bench::playUnitOne, std::ref(stream), UnitPort, HostPort);
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

    std::printf("DeskPanel CPU: idle %.2f %%, with %d gain messages/s and one subscriber %.2f %% of one core "
                "(+%.2f)\n",
                idle, 1000, loaded, loaded - idle);
    std::printf("meters of 384 channels at 20 Hz to 4 subscribers: %.2f %% (+%.2f); datagrams in 10 s: %d %d %d %d\n",
                meters, meters - idle, meterDatagrams[0], meterDatagrams[1], meterDatagrams[2], meterDatagrams[3]);
    std::printf(
        "message sent -> unit datagram received: median %.0f us, 90 %% %.0f us, 99 %% %.0f us (%zu timed of %d)\n",
        stream.quantileUs(0.5), stream.quantileUs(0.9), stream.quantileUs(0.99), stream.latenciesUs.size(),
        stream.sent.load());
    std::printf("refused %llu, dropped over the rate %llu\n",
                static_cast<unsigned long long>(remote.control().counts().refused),
                static_cast<unsigned long long>(remote.control().counts().droppedOverRate));
    return 0;
}
