// Handling one status datagram of a known unit: classification, health, levels handed on.
#include "core/unitlink/UnitLink.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/PacketBuilder.h"
#include "tests/support/RecordingDatagramSender.h"
#include "tests/support/ScriptedOperator.h"

#include <benchmark/benchmark.h>

using namespace deskpanel;

namespace {

class LevelSink : public NullUnitLinkEvents {
public:
    void setLevel(int channel, int levelDb) override { levels[static_cast<std::size_t>(channel)] = levelDb; }
    std::array<int, 384> levels{};
};

void HandleKnownUnitDatagram(benchmark::State& state)
{
    test::FakeClock clock;
    test::FakeTimers timers(clock);
    test::ScriptedOperator op;
    test::RecordingDatagramSender sender;
    LevelSink events;
    ProjectPrefs prefs;
    UnitLink link(clock, timers, op, sender, events, prefs);

    // A full rack, every unit known.
    std::vector<PacketBytes> packets;
    for (int unit = 1; unit <= 48; ++unit) {
        test::UnitPacketFields fields;
        fields.unitNumber = static_cast<std::uint8_t>(unit);
        fields.mac = test::macOf(unit);
        fields.levelWords.fill(0x0012);
        packets.push_back(test::unitPacket(fields));
        link.handleDatagram(packets.back().data(), PacketSize,
                            Ipv4Endpoint{0x7F000000u + static_cast<std::uint32_t>(unit), 1});
    }
    std::size_t next = 0;
    for (auto _ : state) {
        const int unit = static_cast<int>(next % 48) + 1;
        link.handleDatagram(packets[next % 48].data(), PacketSize,
                            Ipv4Endpoint{0x7F000000u + static_cast<std::uint32_t>(unit), 1});
        ++next;
        benchmark::DoNotOptimize(events.levels);
    }
    state.counters["units"] = link.unitCount();
}
BENCHMARK(HandleKnownUnitDatagram)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
