#include "core/model/MeterSimulation.h"

#include "core/model/Limits.h"
#include "core/model/Metering.h"

namespace deskpanel {

namespace {

// Readout slope of the dBU scales by max level; the dBFS scales share the first one.
double dbuReadoutFactor(int maxLevelDb)
{
    switch (maxLevelDb) {
    case 18: return 0.8454546;
    case 15: return 0.7909091;
    case 12: return 0.73636365;
    case 9: return 0.6818182;
    default: return 0.90909094;
    }
}

} // namespace

MeterSimulation::MeterSimulation(const ProjectPrefs& prefs, Timers& timers, Metering& metering, RandomSource& random)
    : m_prefs(prefs), m_timers(timers), m_metering(metering), m_random(random)
{
    m_timers.setHandler(TimerId::SimulatedMeters, [this] { tick(); });
}

MeterSimulation::~MeterSimulation()
{
    m_timers.stop(TimerId::SimulatedMeters);
    m_timers.clearHandler(TimerId::SimulatedMeters);
}

void MeterSimulation::start()
{
    m_timers.start(TimerId::SimulatedMeters, TickMs);
}

void MeterSimulation::stop()
{
    m_timers.stop(TimerId::SimulatedMeters);
}

bool MeterSimulation::isRunning() const
{
    return m_timers.isRunning(TimerId::SimulatedMeters);
}

MeterReading MeterSimulation::simulatedReading(RandomSource& random, const MeterScale& scale)
{
    const double max = RandomSource::Max;
    const int d = static_cast<int>(random.next() / max * 4096 + 1000); // 1000..5096
    const int segment = static_cast<int>(random.next() / max * 20); // 0..20
    const int level = static_cast<int>(d * 0.013431014) - 31;

    MeterReading reading;
    reading.position = SegmentPosition{segment, 0.0};
    reading.vuHeight = static_cast<int>((20 - segment) * 204.75);
    if (scale.kind() == MeterScaleKind::Dbfs)
        reading.readoutCandidate = static_cast<int>((level + 31) * 0.90909094) - 50;
    else
        reading.readoutCandidate = static_cast<int>((level + 31) * dbuReadoutFactor(scale.scaleLevelDb()) - 28);
    return reading;
}

void MeterSimulation::tick()
{
    const MeterScale scale = MeterScale::fromPrefs(m_prefs);
    for (int channel = 0; channel < MaxChannels; ++channel)
        m_metering.showReading(channel, simulatedReading(m_random, scale));
}

} // namespace deskpanel
