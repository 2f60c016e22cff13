// The main window: how long from the start of the program's work (application object
// made, window built) until the window is shown, and the longest time the UI thread goes
// without serving its events while a 199-scene project (about 44 MB) is saved, as the
// autosave does. The save is measured twice: with the file written on a worker (as the
// program does) and written on the UI thread itself, for comparison.
//
// Start-up includes timer 1's 100 ms: the window is shown on its first tick.

#include "app/DeskPanelApp.h"
#include "app/ProjectCommands.h"
#include "ui/main/MainWindow.h"

#include "tests/support/QuietHost.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>

using namespace deskpanel;

namespace {

void serveEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void BM_StartToWindowShown(benchmark::State& state)
{
    for (auto _ : state) {
        test::TempFolder folder;
        test::QuietOperator op;
        QElapsedTimer clock;
        clock.start();
        {
            DeskPanelApp app(LinkPorts{0, 0}, op);
            MainWindow window(app, MainWindowOptions::inFolder(folder.path()));
            window.start();
            for (int i = 0; i < 5000 && !(window.hasShown() && window.isVisible()); ++i)
                serveEvents(1);
            state.SetIterationTime(clock.nsecsElapsed() / 1e9);
            app.stop();
        }
    }
}
BENCHMARK(BM_StartToWindowShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

void fillScenes(Project& project)
{
    for (int c = 0; c < MaxChannels; ++c)
        project.channels[std::size_t(c)].notes = "notes of channel " + std::to_string(c + 1);
    for (int n = 1; n <= 199; ++n) {
        Scene scene;
        scene.name = "Scene number " + std::to_string(n);
        scene.notes = "Notes of scene " + std::to_string(n);
        scene.settings = project.snapshotSettings();
        for (int c = 0; c < MaxChannels; ++c)
            scene.settings[std::size_t(c)].gainPosition = (c + n) % 73;
        scene.channelNames = project.channelNames();
        project.scenes.append(scene);
    }
}

// The longest gap between two ticks of a 1 ms timer while `save` runs.
double longestStallMs(const std::function<void()>& save)
{
    QElapsedTimer since;
    double longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, since.nsecsElapsed() / 1e6);
        since.restart();
    });
    tick.start(1);
    serveEvents(5);
    since.restart();
    longest = 0;
    save();
    longest = std::max(longest, since.nsecsElapsed() / 1e6);
    return longest;
}

void autosaveStall(benchmark::State& state, bool onWorker)
{
    test::TempFolder folder;
    test::QuietOperator op;
    DeskPanelApp app(LinkPorts{0, 0}, op);
    MainWindow window(app, MainWindowOptions::inFolder(folder.path()));
    fillScenes(app.project());
    app.project().projectPath = folder.file("full.vpf");
    app.project().setProjectName("full.vpf");
    app.project().hasFile = true;
    ProjectFiles& files = window.projectCommands().files();
    if (!onWorker)
        files.setBackgroundWork(nullptr);
    double worst = 0;
    for (auto _ : state) {
        const double stall = longestStallMs([&] { files.save(); });
        worst = std::max(worst, stall);
        state.SetIterationTime(stall / 1000.0);
    }
    state.counters["worst_stall_ms"] = worst;
}

void BM_AutosaveStall199ScenesOnWorker(benchmark::State& state)
{
    autosaveStall(state, true);
}
void BM_AutosaveStall199ScenesOnUiThread(benchmark::State& state)
{
    autosaveStall(state, false);
}
BENCHMARK(BM_AutosaveStall199ScenesOnWorker)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_AutosaveStall199ScenesOnUiThread)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
