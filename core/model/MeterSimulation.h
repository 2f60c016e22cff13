#pragma once
#include "core/host/Timers.h"
#include "core/model/MeterScale.h"
#include "core/model/ProjectPrefs.h"
#include "core/model/RandomSource.h"

namespace deskpanel {

class Metering;

// "Simulate live peaks": while on, every 50 ms each of the 384 channels gets a random
// reading, for showing the meters without units. Readings from units keep being shown
// meanwhile.
class MeterSimulation {
public:
    static constexpr std::uint32_t TickMs = 50;

    MeterSimulation(const ProjectPrefs& prefs, Timers& timers, Metering& metering, RandomSource& random);
    ~MeterSimulation();
    MeterSimulation(const MeterSimulation&) = delete;
    MeterSimulation& operator=(const MeterSimulation&) = delete;

    void start();
    void stop();
    bool isRunning() const;

    // One random reading on the given scale; draws twice from `random`.
    static MeterReading simulatedReading(RandomSource& random, const MeterScale& scale);

    // One tick: a reading for every channel in order.
    void tick();

private:
    const ProjectPrefs& m_prefs;
    Timers& m_timers;
    Metering& m_metering;
    RandomSource& m_random;
};

} // namespace deskpanel
