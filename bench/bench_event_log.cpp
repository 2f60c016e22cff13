// The unit event log under a flood: 1,000 events per second through EventLog::record for
// EVENT_BENCH_SECONDS (60) seconds, with the event window open and refreshing, while a
// 1 ms timer measures the longest time the UI thread goes without serving its events.
// Two mixes: 48 units flapping through their states (repeats fold), and every event
// distinct (nothing folds; each is written, the file rotates). Printed: the worst stall,
// the events logged, the lines in the files, the largest file and the number of files.

#include "core/records/EventLog.h"
#include "core/records/EventLogFile.h"
#include "ui/dialogs/EventLogWindow.h"

#include "tests/support/QuietHost.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/TempFolder.h"

#include "app/QtWallClock.h"
#include "core/host/Clock.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

using namespace deskpanel;

namespace {

int benchSeconds()
{
    const int seconds = qEnvironmentVariableIntValue("EVENT_BENCH_SECONDS");
    return seconds > 0 ? seconds : 60;
}

UnitEvent floodEvent(std::uint64_t i, bool distinct)
{
    static const char* states[] = {"ACTIVE", "OFFLINE", "CONFLICT", "FAULT", "LOCAL", "INACTIVE"};
    UnitEvent event;
    event.unit = static_cast<int>(i % 48) + 1;
    event.mac = "0050C21000" + std::to_string(10 + event.unit);
    event.ip = "127.0.0." + std::to_string(event.unit);
    event.oldState = distinct ? "S" + std::to_string(i) : states[i / 48 % 6];
    event.newState = states[(i / 48 + 1) % 6];
    event.text = "flood event " + std::to_string(i);
    return event;
}

void flood(benchmark::State& state, bool distinct)
{
    for (auto _ : state) {
        test::TempFolder folder;
        SteadyClock clock;
        QtWallClock wall;
        const std::string path = folder.file("state/DeskPanel/events.log");
        EventLog log(clock, wall, std::make_unique<EventLogFile>(path));
        test::QuietOperator op;
        test::ScriptedFileDialogs dialogs;
        EventLogWindow window(log, dialogs, op);
        window.show();

        const qint64 durationMs = benchSeconds() * 1000LL;
        QElapsedTimer elapsed;
        elapsed.start();
        QElapsedTimer since;
        since.start();
        double worst = 0;
        std::uint64_t sent = 0;
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            worst = std::max(worst, since.nsecsElapsed() / 1e6);
            // Catch up to 1,000 per second of what has passed.
            const auto due = static_cast<std::uint64_t>(std::min(elapsed.elapsed(), durationMs));
            while (sent < due)
                log.record(floodEvent(sent++, distinct));
            log.tick();
            if (elapsed.elapsed() >= durationMs)
                loop.quit();
            since.restart();
        });
        tick.start(1);
        loop.exec();
        log.close();

        std::uint64_t lines = 0, largest = 0, files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.file("state/DeskPanel"))) {
            ++files;
            largest = std::max<std::uint64_t>(largest, entry.file_size());
            std::ifstream in(entry.path());
            lines += static_cast<std::uint64_t>(
                std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
        }
        state.SetIterationTime(worst / 1000.0);
        state.counters["worst_stall_ms"] = worst;
        state.counters["events_logged"] = static_cast<double>(sent);
        state.counters["lines_in_files"] = static_cast<double>(lines);
        state.counters["largest_file_bytes"] = static_cast<double>(largest);
        state.counters["rotation_limit_bytes"] = static_cast<double>(EventLogFile::RotateAtBytes);
        state.counters["files"] = static_cast<double>(files);
        state.counters["window_rows"] = static_cast<double>(window.shownEvents().size());
    }
}

void BM_EventFlood48UnitsFlapping(benchmark::State& state)
{
    flood(state, false);
}
void BM_EventFloodAllDistinct(benchmark::State& state)
{
    flood(state, true);
}
BENCHMARK(BM_EventFlood48UnitsFlapping)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_EventFloodAllDistinct)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

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
