// The Stage Remote under load, against the real main window (offscreen) and 8 units (7
// simulated by unitsim, unit 1 played here so the datagrams it is sent can be timed):
// 8 pages connected over loopback WebSockets, each taking the meters of 8 channels at
// 20 Hz, for SECONDS (20); then one page taps +1/-1 dB on channel 1 every 50 ms. Prints
// DeskPanel's CPU share of one core while idle and with the pages, and the time from a
// tap's message leaving the page to the unit's datagram arriving.
//   cmake --build build --target bench_stage_remote unitsim
//   build/bench/bench_stage_remote [SECONDS]
#include "app/DeskPanelApp.h"
#include "app/stage/StageServer.h"
#include "tests/support/PacketBuilder.h"
#include "tests/support/QuietHost.h"
#include "tests/support/TempFolder.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkRequest>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QWebSocket>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
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

constexpr std::uint16_t HostPort = 25820;
constexpr std::uint16_t UnitPort = 25821;
constexpr std::uint16_t StagePort = 25822;
constexpr int Pages = 8;
const QByteArray Token = "00112233445566778899aabbccddeeff";

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

std::mutex benchCpuLock;
double benchCpu = 0; // the bench's own threads: not DeskPanel's
void addBenchCpu(double seconds)
{
    std::lock_guard<std::mutex> lock(benchCpuLock);
    benchCpu += seconds;
}

struct Taps {
    std::atomic<bool> running{false};
    std::atomic<bool> done{false};
    std::atomic<int> sent{0};
    std::vector<SteadyTime::time_point> sentAt = std::vector<SteadyTime::time_point>(100000);
    std::vector<double> latenciesUs;
};

// Unit 1: reports every 50 ms and times each datagram against the newest tap not yet answered.
void playUnitOne(Taps& taps)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(UnitPort);
    ::inet_pton(AF_INET, "127.0.1.1", &at.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0) {
        std::perror("bind");
        std::exit(1);
    }
    timeval timeout{0, 20000};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    sockaddr_in host{};
    host.sin_family = AF_INET;
    host.sin_port = htons(HostPort);
    host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    test::UnitPacketFields fields;
    fields.unitNumber = 1;
    fields.mac = test::macOf(1);
    const PacketBytes report = test::unitPacket(fields);
    auto nextReport = SteadyTime::now();
    int matched = 0;
    std::uint8_t buffer[256];
    while (!taps.done) {
        if (SteadyTime::now() >= nextReport) {
            ::sendto(fd, report.data(), report.size(), 0, reinterpret_cast<sockaddr*>(&host), sizeof host);
            nextReport += std::chrono::milliseconds(50);
        }
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        const auto now = SteadyTime::now();
        const int newest = taps.sent.load() - 1;
        if (got == static_cast<ssize_t>(PacketSize) && taps.running && newest >= matched) {
            taps.latenciesUs.push_back(
                std::chrono::duration<double, std::micro>(now - taps.sentAt[static_cast<std::size_t>(newest)]).count());
            matched = newest + 1;
        }
    }
    ::close(fd);
    addBenchCpu(threadCpuSeconds());
}

// The phones: a thread of their own with its own event loop, each page taking 8 meters.
class PageThread : public QThread {
public:
    std::atomic<int> meterFrames{0};
    std::atomic<bool> tapping{false};
    Taps* taps = nullptr;

protected:
    void run() override
    {
        std::vector<std::unique_ptr<QWebSocket>> pages;
        for (int i = 0; i < Pages; ++i) {
            auto page = std::make_unique<QWebSocket>(QStringLiteral("http://127.0.0.1:%1").arg(StagePort));
            QWebSocket* raw = page.get();
            QObject::connect(raw, &QWebSocket::connected, raw, [raw, i] {
                raw->sendTextMessage(
                    QStringLiteral(R"({"a":"/deskpanel/meters/subscribe","v":[%1,8]})").arg(i * 8 + 1));
            });
            QObject::connect(raw, &QWebSocket::textMessageReceived, raw, [this](const QString& text) {
                if (text.startsWith(QLatin1String(R"({"a":"/deskpanel/meters")")))
                    ++meterFrames;
            });
            QNetworkRequest request(QUrl(QStringLiteral("ws://127.0.0.1:%1/live").arg(StagePort)));
            request.setRawHeader("Cookie", "deskpanel_token=" + Token);
            raw->open(request);
            pages.push_back(std::move(page));
        }
        QTimer tap;
        int k = 0;
        QObject::connect(&tap, &QTimer::timeout, [&] {
            if (!tapping)
                return;
            taps->running = true;
            taps->sentAt[static_cast<std::size_t>(k)] = SteadyTime::now();
            pages[0]->sendTextMessage(
                QStringLiteral(R"({"a":"/deskpanel/ch/1/gain/step","v":[%1]})").arg(k % 2 == 0 ? 1 : -1));
            taps->sent = ++k;
        });
        tap.start(50);
        exec();
        pages.clear();
        addBenchCpu(threadCpuSeconds());
    }
};

double deskPanelCpuShare(int ms)
{
    const double process0 = processCpuSeconds();
    double bench0 = 0;
    {
        std::lock_guard<std::mutex> lock(benchCpuLock);
        bench0 = benchCpu;
    }
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
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
    StageServer& stage = *window.stage();
    StageSettings settings;
    settings.enabled = true;
    settings.port = StagePort;
    settings.devices.push_back({"Bench", StagePermission::Control, StagePairing::tokenHash(Token.toStdString())});
    stage.store(settings);
    if (!stage.isListening()) {
        std::fprintf(stderr, "port %u is taken\n", unsigned{StagePort});
        return 1;
    }
    QProcess rack;
    rack.start(QCoreApplication::applicationDirPath() + "/../tools/unitsim/unitsim",
               {"--units", "7", "--first", "2", "--first-address", "127.0.1.2", "--host-port",
                QString::number(HostPort), "--unit-port", QString::number(UnitPort)});
    Taps taps;
    std::thread unitOne(playUnitOne, std::ref(taps));
    QElapsedTimer waited;
    waited.start();
    while (app.link().unitCount() < 8 && waited.elapsed() < 15000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    std::printf("units present: %d\n", app.link().unitCount());

    const double idle = deskPanelCpuShare(10000);
    PageThread phones;
    phones.taps = &taps;
    phones.start();
    waited.restart();
    while (stage.pageCount() < Pages && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    deskPanelCpuShare(1000); // the whole state goes out to each page first
    const int framesBefore = phones.meterFrames;
    const double withPages = deskPanelCpuShare(seconds * 1000);
    const int frames = phones.meterFrames - framesBefore;
    phones.tapping = true;
    const double tapping = deskPanelCpuShare(10000);
    phones.tapping = false;
    phones.quit();
    phones.wait();
    taps.done = true;
    unitOne.join();
    rack.terminate();
    rack.waitForFinished(5000);

    std::vector<double> l = taps.latenciesUs;
    std::sort(l.begin(), l.end());
    const auto at = [&](double q) { return l.empty() ? 0.0 : l[static_cast<std::size_t>(q * (l.size() - 1))]; };
    std::printf("pages open: %d\n", Pages);
    std::printf("DeskPanel CPU: idle %.2f %%, %d pages with meters of 8 channels at 20 Hz %.2f %% (+%.2f); "
                "meter frames %.1f per page per second\n",
                idle, Pages, withPages, withPages - idle, frames / static_cast<double>(Pages * seconds));
    std::printf("with one page tapping every 50 ms: %.2f %% (+%.2f)\n", tapping, tapping - idle);
    std::printf("tap sent -> unit datagram received: median %.0f us, 90 %% %.0f us, 99 %% %.0f us (%zu timed of %d)\n",
                at(0.5), at(0.9), at(0.99), l.size(), taps.sent.load());
    std::printf("refused %llu\n", static_cast<unsigned long long>(stage.refusals()));
    return 0;
}
