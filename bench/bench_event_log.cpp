// The unit event log under a flood: 1,000 events per second through EventLog::record for
// EVENT_BENCH_SECONDS (60) seconds, with the event window open and refreshing, while a
// 1 ms timer measures how long the UI thread goes without serving its events. Three
// mixes: nothing logged (what the machine itself costs, for comparison), 48 units flapping
// through their states (repeats fold), and every event distinct (nothing folds, each is
// written, the file rotates). Printed: the worst stall and how many 1 ms ticks came more
// than 5 ms apart (after a first second of warm-up), the events logged, the lines in the
// files, the largest file and the number of files.

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

enum class Mix {
    None, // the window open, nothing logged: what the machine itself costs
    Flapping,
    Distinct
};

void flood(benchmark::State& state, Mix mix)
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
        std::uint64_t ticks = 0, over5ms = 0;
        // The first second (the window's first layout and paint) is not measured.
        constexpr qint64 WarmUpMs = 1000;
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const double gap = since.nsecsElapsed() / 1e6;
            if (elapsed.elapsed() > WarmUpMs) {
                worst = std::max(worst, gap);
                ++ticks;
                over5ms += gap > 5.0;
            }
            // Catch up to 1,000 per second of what has passed.
            const auto due = static_cast<std::uint64_t>(std::min(elapsed.elapsed(), durationMs));
            while (mix != Mix::None && sent < due)
                log.record(floodEvent(sent++, mix == Mix::Distinct));
            log.tick();
            if (elapsed.elapsed() >= durationMs)
                loop.quit();
            since.restart();
        });
        tick.start(1);
        loop.exec();
        log.close();

        std::uint64_t lines = 0, largest = 0, files = 0;
        std::error_code noFolder; // nothing logged, nothing written
        for (const auto& entry : std::filesystem::directory_iterator(folder.file("state/DeskPanel"), noFolder)) {
            ++files;
            largest = std::max<std::uint64_t>(largest, entry.file_size());
            std::ifstream in(entry.path());
            lines += static_cast<std::uint64_t>(
                std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
        }
        state.SetIterationTime(worst / 1000.0);
        state.counters["worst_stall_ms"] = worst;
        state.counters["ticks"] = static_cast<double>(ticks);
        state.counters["ticks_over_5ms"] = static_cast<double>(over5ms);
        state.counters["events_logged"] = static_cast<double>(sent);
        state.counters["lines_in_files"] = static_cast<double>(lines);
        state.counters["largest_file_bytes"] = static_cast<double>(largest);
        state.counters["rotation_limit_bytes"] = static_cast<double>(EventLogFile::RotateAtBytes);
        state.counters["files"] = static_cast<double>(files);
        state.counters["window_rows"] = static_cast<double>(window.shownEvents().size());
    }
}

void BM_EventWindowIdle(benchmark::State& state)
{
    flood(state, Mix::None);
}
void BM_EventFlood48UnitsFlapping(benchmark::State& state)
{
    flood(state, Mix::Flapping);
}
void BM_EventFloodAllDistinct(benchmark::State& state)
{
    flood(state, Mix::Distinct);
}
BENCHMARK(BM_EventWindowIdle)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
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
