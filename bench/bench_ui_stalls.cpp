// The longest time the UI thread goes without serving its events (the gap between two
// ticks of a 1 ms timer) while the operator: exports the PDF channel sheet of 48 units,
// changes the event window's kind filter over a full log (this run's 100,000 events in
// memory and 100,000 of the file's), and saves a 199-scene project (about 44 MB) that
// already has backups, so the save stages the old file and compares it with the newest
// backup. Each should stay within 50 ms.

#include "app/DeskPanelApp.h"
#include "app/ProjectCommands.h"
#include "app/QtBackgroundWork.h"
#include "app/SheetExport.h"
#include "core/records/BackupKeeper.h"
#include "core/records/ChannelSheet.h"
#include "core/records/EventLog.h"
#include "ui/dialogs/EventLogWindow.h"

#include "tests/support/FakeClock.h"
#include "tests/support/FakeWallClock.h"
#include "tests/support/QuietHost.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>

using namespace deskpanel;

namespace {

void serveEvents(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The longest gap between two ticks of a 1 ms timer while `work` runs, and a little after
// (what it leaves for the next turn of the loop counts too).
double longestStallMs(const std::function<void()>& work)
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
    work();
    serveEvents(20);
    return longest;
}

void report(benchmark::State& state, double worst)
{
    state.counters["worst_stall_ms"] = worst;
}

void BM_SheetPdf48UnitsStall(benchmark::State& state)
{
    test::TempFolder folder;
    Project project;
    for (int c = 0; c < MaxChannels; ++c)
        project.channels[std::size_t(c)] = {"Channel name " + std::to_string(c + 1), "notes " + std::to_string(c)};
    const ChannelSheet sheet = ChannelSheetMaker::make(project, ChannelSheetMaker::Live, ChannelSheetMaker::allUnits());
    QtBackgroundWork work;
    double worst = 0;
    for (auto _ : state) {
        std::string error;
        const double stall = longestStallMs(
            [&] { SheetExport::writeOnWorker(work, sheet, folder.file("sheet.pdf"), QPageSize::A4, error); });
        worst = std::max(worst, stall);
        state.SetIterationTime(stall / 1000.0);
    }
    report(state, worst);
}
BENCHMARK(BM_SheetPdf48UnitsStall)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_EventWindowKindFilterFullLogStall(benchmark::State& state)
{
    test::TempFolder folder;
    test::FakeClock clock;
    test::FakeWallClock wall;
    // A log file the size rotation allows, read as the history.
    {
        EventLog writer(clock, wall, std::make_unique<EventLogFile>(folder.file("events.log"), 1ull << 40));
        for (int i = 0; i < 100000; ++i) {
            UnitEvent event;
            event.unit = 1 + i % 48;
            event.oldState = "ACTIVE";
            event.newState = i % 3 == 0 ? "OFFLINE" : "ACTIVE";
            event.text = "history event";
            wall.advance(1000);
            clock.advance(EventFolder::FoldWindowMs + 1); // no two fold into one
            writer.record(event);
        }
        writer.close(60000);
    }
    EventLog log(clock, wall, std::make_unique<EventLogFile>(folder.file("events.log"), 1ull << 40));
    for (int i = 0; i < int(EventLog::MemoryLimit); ++i) {
        UnitEvent event;
        event.unit = 1 + i % 48;
        event.oldState = "INACTIVE";
        event.newState = i % 5 == 0 ? "OFFLINE" : "ACTIVE";
        event.text = "this run";
        wall.advance(1000);
        clock.advance(EventFolder::FoldWindowMs + 1);
        log.record(event);
    }
    log.flush();
    test::QuietOperator op;
    test::ScriptedFileDialogs dialogs;
    EventLogWindow window(log, dialogs, op);
    window.show();
    for (int i = 0; i < 100 && !log.historyRead(); ++i)
        serveEvents(10);
    window.refresh();
    serveEvents(50);
    double worst = 0;
    bool offline = false;
    for (auto _ : state) {
        offline = !offline;
        const double stall =
            longestStallMs([&] { window.setKindFilter(offline ? QStringLiteral("OFFLINE") : QString()); });
        worst = std::max(worst, stall);
        state.SetIterationTime(stall / 1000.0);
    }
    state.counters["rows"] = double(window.shownEvents().size());
    report(state, worst);
}
BENCHMARK(BM_EventWindowKindFilterFullLogStall)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(6);

class NoWindow : public CommandWindow {
public:
    void showProject() override {}
    void storePlacement() override {}
    void closeForGood() override {}
    void startDetachedLater(const std::string&, int) override {}
};

void BM_Save199ScenesWithBackupsStall(benchmark::State& state)
{
    test::TempFolder folder;
    test::QuietOperator op;
    test::ScriptedFileDialogs dialogs;
    test::FakeWallClock wall;
    DeskPanelApp app(LinkPorts{0, 0}, op);
    NoWindow window;
    ProfileLocations at;
    at.settingsFile = folder.file("settings.ini");
    ProjectCommands commands(app, dialogs, at, window);
    BackupKeeper keeper(folder.file("state/backups"), wall);
    commands.keepBackups(keeper);
    Project& project = app.project();
    for (int c = 0; c < MaxChannels; ++c)
        project.channels[std::size_t(c)].notes = "notes of channel " + std::to_string(c + 1);
    for (int n = 1; n <= 199; ++n) {
        Scene scene;
        scene.name = "Scene number " + std::to_string(n);
        scene.settings = project.snapshotSettings();
        for (int c = 0; c < MaxChannels; ++c)
            scene.settings[std::size_t(c)].gainPosition = (c + n) % 73;
        scene.channelNames = project.channelNames();
        project.scenes.append(scene);
    }
    dialogs.answers = {folder.file("full.vpf")};
    commands.saveAs();
    commands.files().waitForWrite();
    commands.save(); // the first backup
    commands.files().waitForWrite();
    double worst = 0;
    int n = 0;
    for (auto _ : state) {
        // One gain changed: the file keeps its size, so the comparison reads it whole.
        project.scenes.scene(1).settings[0].gainPosition = ++n % 73;
        wall.advance(60000);
        const double stall = longestStallMs([&] {
            commands.save();
            commands.files().waitForWrite();
        });
        worst = std::max(worst, stall);
        state.SetIterationTime(stall / 1000.0);
    }
    state.counters["backups"] = double(keeper.list(folder.file("full.vpf")).size());
    report(state, worst);
}
BENCHMARK(BM_Save199ScenesWithBackupsStall)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

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
