// Gain moves through the channel control and the real unit link, out of a real UDP
// socket on loopback. Each benchmark prints the median of the individual calls as the
// counter "median_us"; the timed region of a call ends when the last datagram of the
// move has been handed to the socket ("ToSend") or has arrived at the listening socket
// that stands in for the units ("ToArrival").

#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "core/model/SceneTracker.h"
#include "core/unitlink/UdpTransport.h"
#include "core/unitlink/UnitLink.h"
#include "tests/support/QuietHost.h"

#include "bench/LoopbackUnits.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace deskpanel;
using namespace deskpanel::bench;

namespace {

class NoScenes : public SceneTracker {
public:
    void markActiveSceneModified() override {}
    void updateFollowedScene() override {}
};

struct Rig {
    explicit Rig(int unitCount)
        : transport([](std::function<void()> f) { f(); }, 0),
          link(clock, timers, op, transport, events, project.prefs, units.port()),
          control(project, link, timers, scenes)
    {
        events.control = &control;
        announceUnits(link, unitCount);
        units.receive(unitCount * 48);
    }

    SteadyClock clock;
    test::IdleTimers timers;
    test::QuietOperator op;
    Project project;
    UnitsSocket units;
    UdpTransport transport;
    Events events;
    UnitLink link;
    NoScenes scenes;
    ChannelControl control;
};

void singleGainMove(benchmark::State& state, bool toArrival)
{
    Rig rig(1);
    if (rig.link.unitCount() != 1) {
        state.SkipWithError("the unit was not taken on");
        return;
    }
    std::vector<double> samples;
    int position = 30;
    for (auto _ : state) {
        position = position == 30 ? 31 : 30;
        const auto start = StopClock::now();
        rig.control.singleGainMove(0, position);
        if (toArrival && !rig.units.receive(1)) {
            state.SkipWithError("a datagram was lost");
            return;
        }
        samples.push_back(elapsedUs(start));
        if (!toArrival) {
            state.PauseTiming();
            rig.units.receive(1);
            state.ResumeTiming();
        }
    }
    state.counters["median_us"] = medianUs(samples);
}

void linkedGainMove384(benchmark::State& state, bool toArrival)
{
    Rig rig(MaxUnits);
    if (rig.link.unitCount() != MaxUnits) {
        state.SkipWithError("not every unit was taken on");
        return;
    }
    for (int c = 0; c < MaxChannels; ++c) {
        rig.project.live[static_cast<std::size_t>(c)].gainPosition = 20 + c % 40;
        rig.control.linkGroups().matrixCellPressed(1, c);
        rig.control.linkGroups().matrixReleased();
        // Each join sent "Link" and "Mute".
        rig.units.receive(2);
    }
    if (rig.control.linkedSet(0).members.size() != MaxChannels) {
        state.SkipWithError("the group is incomplete");
        return;
    }
    std::vector<double> samples;
    int position = 20;
    for (auto _ : state) {
        position = position == 20 ? 21 : 20;
        const auto start = StopClock::now();
        rig.control.linkedGainMove(0, position);
        if (toArrival && !rig.units.receive(MaxChannels)) {
            state.SkipWithError("a datagram was lost");
            return;
        }
        samples.push_back(elapsedUs(start));
        if (!toArrival) {
            state.PauseTiming();
            rig.units.receive(MaxChannels);
            state.ResumeTiming();
        }
    }
    state.counters["median_us"] = medianUs(samples);
    state.counters["packets_per_move"] = MaxChannels;
}

// The Link switch of one member of a 384-member group going on: the whole group is
// rebuilt, so every member is sent "Link" twice (and "Mute" once). This is the traffic
// a collapse of the redundant sends would save.
void linkSwitchOnIn384Group(benchmark::State& state)
{
    Rig rig(MaxUnits);
    for (int c = 0; c < MaxChannels; ++c) {
        rig.control.linkGroups().matrixCellPressed(1, c);
        rig.control.linkGroups().matrixReleased();
        rig.units.receive(2);
    }
    std::vector<double> samples;
    std::int64_t packets = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::uint32_t beforeOff = rig.link.txSequence();
        rig.control.switchChanged(static_cast<int>(SwitchKind::Link), 0, 0);
        rig.units.receive(static_cast<int>(rig.link.txSequence() - beforeOff));
        const std::uint32_t before = rig.link.txSequence();
        state.ResumeTiming();

        const auto start = StopClock::now();
        rig.control.switchChanged(static_cast<int>(SwitchKind::Link), 0, 1);
        samples.push_back(elapsedUs(start));

        state.PauseTiming();
        const auto sent = static_cast<int>(rig.link.txSequence() - before);
        packets = sent;
        rig.units.receive(sent);
        state.ResumeTiming();
    }
    state.counters["median_us"] = medianUs(samples);
    state.counters["packets_per_switch"] = static_cast<double>(packets);
}

// The same linked move with every unit present but nothing on the wire: what the model
// itself costs, apart from the unit link and its sockets.
class CountingSender : public UnitSender {
public:
    void sendParameter(const std::string&, double, int, int) override { ++sent; }
    void fullResend() override {}
    bool isUnitPresent(int unitNumber) const override { return isValidUnitNumber(unitNumber); }
    int unitCount() const override { return MaxUnits; }
    bool reducedGainRange() const override { return false; }
    std::int64_t sent = 0;
};

void linkedGainMove384ModelOnly(benchmark::State& state)
{
    Project project;
    CountingSender sender;
    test::IdleTimers timers;
    NoScenes scenes;
    ChannelControl control(project, sender, timers, scenes);
    for (int c = 0; c < MaxChannels; ++c) {
        project.live[static_cast<std::size_t>(c)].gainPosition = 20 + c % 40;
        control.linkGroups().matrixCellPressed(1, c);
        control.linkGroups().matrixReleased();
    }
    std::vector<double> samples;
    int position = 20;
    for (auto _ : state) {
        position = position == 20 ? 21 : 20;
        const auto start = StopClock::now();
        control.linkedGainMove(0, position);
        samples.push_back(elapsedUs(start));
    }
    state.counters["median_us"] = medianUs(samples);
}

} // namespace

BENCHMARK(linkedGainMove384ModelOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(linkSwitchOnIn384Group)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(singleGainMove, ToSend, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(singleGainMove, ToArrival, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(linkedGainMove384, ToSend, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(linkedGainMove384, ToArrival, true)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
