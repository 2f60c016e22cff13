// A scene recall of a full rack (48 units, 384 inputs, every setting changing) through
// the scene operations, the channel control and the real unit link, out of a real UDP
// socket on loopback: without recall safes, and with 192 safe inputs (every other input,
// each with a different mix of the five flags). The timed region of a recall runs from
// the call until the last datagram has arrived at the socket that stands in for the
// units; the median of the recalls is the counter "median_us".
//
//   build/bench/bench_recall_safety --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

#include "core/host/NamingDialogs.h"
#include "core/model/Project.h"
#include "core/model/SceneOperations.h"
#include "core/unitlink/UdpTransport.h"
#include "core/unitlink/UnitLink.h"
#include "tests/support/QuietHost.h"

#include "bench/LoopbackUnits.h"

#include <benchmark/benchmark.h>

#include <bit>

using namespace deskpanel;
using namespace deskpanel::bench;

namespace {

class NoNaming : public SceneNamingDialogs {
public:
    std::optional<NameAndNotes> askNewScene(const NameAndNotes&) override { return std::nullopt; }
    std::optional<NameAndNotes> askRenameScene(const std::string&, const NameAndNotes&) override
    {
        return std::nullopt;
    }
};

// Tells the channel control's closing steps to the scene operations made after it.
class SceneRelay : public SceneTracker {
public:
    SceneTracker* target = nullptr;
    void markActiveSceneModified() override { target->markActiveSceneModified(); }
    void updateFollowedScene() override { target->updateFollowedScene(); }
    void restoreLiveState(const LiveState& state) override { target->restoreLiveState(state); }
    bool isSceneLocked() const override { return target->isSceneLocked(); }
};

// Two scenes that differ in every setting of every input.
Scene sceneWith(int variant)
{
    Scene scene;
    scene.name = variant == 0 ? "A" : "B";
    for (int c = 0; c < MaxChannels; ++c) {
        ChannelSettings& s = scene.settings[static_cast<std::size_t>(c)];
        s.gainPosition = variant == 0 ? 10 + c % 40 : 60 - c % 40;
        s.gainAux = s.gainPosition;
        s.polarity = s.pad = s.phantom48V = s.mute = variant;
        s.linkGroup = variant == 0 ? 0 : 1 + c % MaxLinkGroups;
        s.linkButton = s.linkActive = variant;
        scene.channelNames[static_cast<std::size_t>(c)] = (variant == 0 ? "A " : "B ") + std::to_string(c + 1);
    }
    return scene;
}

struct Rig {
    Rig()
        : transport([](std::function<void()> f) { f(); }, 0),
          link(clock, timers, op, transport, events, project.prefs, units.port()),
          control(project, link, timers, relay),
          scenes(project, control, op, timers, naming, nullptr)
    {
        relay.target = &scenes;
        events.control = &control;
        announceUnits(link, MaxUnits);
        units.receive(MaxUnits * 48);
        project.scenes.append(sceneWith(0));
        project.scenes.append(sceneWith(1));
    }

    SteadyClock clock;
    test::IdleTimers timers;
    test::QuietOperator op;
    Project project;
    UnitsSocket units;
    UdpTransport transport;
    Events events;
    UnitLink link;
    SceneRelay relay;
    NoNaming naming;
    ChannelControl control;
    SceneOperations scenes;
};

void recallFullRack(benchmark::State& state, int safeChannels)
{
    Rig rig;
    if (rig.link.unitCount() != MaxUnits) {
        state.SkipWithError("not every unit was taken on");
        return;
    }
    // Every other input, with each of the 31 mixes of flags in turn.
    int datagrams = 0;
    for (int c = 0; c < MaxChannels; ++c) {
        const bool safe = c % 2 == 0 && c / 2 < safeChannels;
        const SafeFlags flags = safe ? static_cast<SafeFlags>(1 + (c / 2) % AllSafeFlags) : 0;
        rig.project.recallSafes.set(c, flags);
        datagrams += 6 - std::popcount(static_cast<unsigned>(flags));
    }
    std::vector<double> samples;
    int position = 1;
    for (auto _ : state) {
        position = position == 1 ? 2 : 1;
        const auto start = StopClock::now();
        rig.scenes.recallScene(position);
        if (!rig.units.receive(datagrams)) {
            state.SkipWithError("a datagram was lost");
            return;
        }
        samples.push_back(elapsedUs(start));
    }
    state.counters["median_us"] = medianUs(samples);
    state.counters["datagrams"] = datagrams;
}

} // namespace

BENCHMARK_CAPTURE(recallFullRack, NoSafes, 0)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(recallFullRack, Safes192, 192)->Unit(benchmark::kMillisecond)->MinTime(2.0);

BENCHMARK_MAIN();
