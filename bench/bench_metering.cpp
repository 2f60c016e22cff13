// Cost of the meter model: one reading from a unit (decode, segment, height, hold,
// readout), and one tick of the simulation (384 readings). The simulation ticks every
// 50 ms, so a tick's CPU time in microseconds divided by 500 is the percentage of one
// core it takes.
#include "core/host/Timers.h"
#include "core/model/MeterSimulation.h"
#include "core/model/Metering.h"
#include "core/model/RandomSource.h"
#include "core/unitlink/UnitPacket.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

using namespace deskpanel;

namespace {

// Timers that never fire: the benchmarks call the model directly.
class IdleTimers : public Timers {
public:
    void start(TimerId, std::uint32_t) override {}
    void stop(TimerId) override {}
    bool isRunning(TimerId) const override { return false; }
};

// A view that only takes note, as a real one marks the meter for repainting.
class CountingListener : public MeterListener {
public:
    void meterChanged(int, const MeterState& meter) override { sum += meter.heldHeightPx; }
    void readoutMarksCleared() override {}
    long long sum = 0;
};

// Level words spread over the whole scale and beyond, both signs.
std::array<std::uint16_t, 256> levelWords()
{
    std::array<std::uint16_t, 256> words{};
    SeededRandomSource random(99);
    for (auto& word : words) {
        const int levelDb = random.next() % 70 - 40;
        word = static_cast<std::uint16_t>(levelDb >= 0 ? 0x0100 | levelDb : -levelDb);
    }
    return words;
}

void BM_OneReading(benchmark::State& state)
{
    ProjectPrefs prefs;
    if (state.range(0) == 1) {
        prefs.meterScaleDbu = 1;
        prefs.meterScaleDbfs = 0;
    }
    IdleTimers timers;
    Metering metering(prefs, timers);
    CountingListener listener;
    metering.setListener(MeterView::Underview, &listener);
    const auto words = levelWords();
    std::size_t i = 0;
    for (auto _ : state) {
        const int channel = static_cast<int>(i % MaxChannels);
        metering.setLevel(channel, decodeLevel(words[i % words.size()]));
        ++i;
    }
    benchmark::DoNotOptimize(listener.sum);
    state.SetLabel(state.range(0) == 1 ? "dBU 22" : "dBFS -18");
}
BENCHMARK(BM_OneReading)->Arg(0)->Arg(1)->Repetitions(15)->ReportAggregatesOnly(true);

void BM_SimulationTick(benchmark::State& state)
{
    ProjectPrefs prefs;
    IdleTimers timers;
    Metering metering(prefs, timers);
    CountingListener listener;
    metering.setListener(MeterView::Underview, &listener);
    SeededRandomSource random(5);
    MeterSimulation simulation(prefs, timers, metering, random);
    for (auto _ : state)
        simulation.tick();
    benchmark::DoNotOptimize(listener.sum);
}
BENCHMARK(BM_SimulationTick)->Repetitions(15)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
