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
#include "bench/BenchLoad.h"
#include "tests/support/QuietHost.h"
#include "tests/support/TempFolder.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QNetworkRequest>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <QWebSocket>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

using namespace deskpanel;
using namespace deskpanel::bench;

namespace {

constexpr std::uint16_t HostPort = 25820;
constexpr std::uint16_t UnitPort = 25821;
constexpr std::uint16_t StagePort = 25822;
constexpr int Pages = 8;
const QByteArray Token = "00112233445566778899aabbccddeeff";

// The phones: a thread of their own with its own event loop, each page taking 8 meters.
class PageThread : public QThread {
public:
    std::atomic<int> meterFrames{0};
    std::atomic<bool> tapping{false};
    TimedSends* taps = nullptr;

protected:
    void run() override
    {
        const BenchThread counted;
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
    }
};

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
    TimedSends taps(100000);
    std::thread unitOne(playUnitOne, std::ref(taps), UnitPort, HostPort);
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

    std::printf("pages open: %d\n", Pages);
    std::printf("DeskPanel CPU: idle %.2f %%, %d pages with meters of 8 channels at 20 Hz %.2f %% (+%.2f); "
                "meter frames %.1f per page per second\n",
                idle, Pages, withPages, withPages - idle, frames / static_cast<double>(Pages * seconds));
    std::printf("with one page tapping every 50 ms: %.2f %% (+%.2f)\n", tapping, tapping - idle);
    std::printf("tap sent -> unit datagram received: median %.0f us, 90 %% %.0f us, 99 %% %.0f us (%zu timed of %d)\n",
                taps.quantileUs(0.5), taps.quantileUs(0.9), taps.quantileUs(0.99), taps.latenciesUs.size(),
                taps.sent.load());
    std::printf("refused %llu\n", static_cast<unsigned long long>(stage.refusals()));
    return 0;
}
