// One datagram of 1,000 recalls from an allowed host, against the real main window
// (offscreen) and 48 units simulated by unitsim: how long a second client waits for its
// pings to be answered meanwhile (the window's answer time), and whether any unit goes
// off-line. ROUNDS (5) datagrams, 1.5 s apart.
//   cmake --build build --target bench_recall_flood unitsim
//   build/bench/bench_recall_flood [ROUNDS]
#include "app/DeskPanelApp.h"
#include "app/RemoteEndpoint.h"
#include "core/remote/OscCodec.h"
#include "core/remote/RemoteSocket.h"
#include "tests/support/QuietHost.h"
#include "tests/support/RemotePinger.h"
#include "tests/support/TempFolder.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

using namespace deskpanel;

namespace {

constexpr std::uint16_t HostPort = 25820;
constexpr std::uint16_t UnitPort = 25821;
constexpr std::uint16_t RemotePort = 25822;
constexpr std::uint32_t Loopback = 0x7F000001u;

void pump(int ms)
{
    QElapsedTimer since;
    since.start();
    while (since.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    test::TempFolder folder;
    test::QuietOperator op;
    DeskPanelApp app(LinkPorts{HostPort, UnitPort}, op);
    MainWindow window(app, MainWindowOptions::inFolder(folder.path()));
    window.start();
    pump(300);
    for (const char* name : {"Verse", "Chorus"}) {
        Scene scene;
        scene.name = name;
        for (std::size_t c = 0; c < scene.settings.size(); ++c)
            scene.settings[c].gainPosition = name[0] == 'V' ? 20 : 50;
        app.project().scenes.append(scene);
    }
    window.remote().apply(RemoteSettings{true, RemotePort, "127.0.0.1, 127.0.0.2", true});
    if (!window.remote().isListening()) {
        std::fprintf(stderr, "remote port %u is taken\n", unsigned{RemotePort});
        return 1;
    }
    QProcess rack;
    rack.start(QCoreApplication::applicationDirPath() + "/../tools/unitsim/unitsim",
               {"--units", "48", "--first-address", "127.0.2.1", "--host-port", QString::number(HostPort),
                "--unit-port", QString::number(UnitPort)});
    QElapsedTimer waited;
    waited.start();
    while (app.link().unitCount() < 48 && waited.elapsed() < 20000)
        pump(50);
    std::printf("units present: %d\n", app.link().unitCount());
    int offline = 0;
    app.addUnitStateListener([&](int, UnitState state) { offline += state == UnitState::OFFLINE; });

    osc::BundleWriter bundle(osc::MaxPacketBytes);
    for (int i = 0; i < 1000; ++i)
        bundle.add(osc::encodeMessage({"/deskpanel/scene/recall", {std::int32_t{1 + i % 2}}}));
    const std::vector<std::uint8_t> datagram = bundle.take();
    RemoteSocket sender;
    std::string error;
    sender.open(Loopback, 0, error);

    test::RemotePinger pinger(0x7F000002u, RemotePort);
    pump(500);
    for (int r = 0; r < rounds; ++r) {
        sender.send(datagram.data(), datagram.size(), Ipv4Endpoint{Loopback, RemotePort});
        pump(1500);
    }
    pinger.stop();
    rack.terminate();
    rack.waitForFinished(5000);

    std::vector<double> w = pinger.waitsMs();
    std::sort(w.begin(), w.end());
    const auto at = [&](double q) { return w.empty() ? 0.0 : w[static_cast<std::size_t>(q * (w.size() - 1))]; };
    std::printf("%d datagrams of %zu bytes (1,000 recalls each); pings answered: %zu\n", rounds, datagram.size(),
                w.size());
    std::printf("ping answer: median %.2f ms, 99 %% %.2f ms, slowest %.2f ms (target: within 100 ms throughout)\n",
                at(0.5), at(0.99), w.empty() ? 0.0 : w.back());
    std::printf("units present after: %d, went off-line: %d; recalls made: %d\n", app.link().unitCount(), offline,
                app.channels().undoHistory().undoableCount());
    return 0;
}
