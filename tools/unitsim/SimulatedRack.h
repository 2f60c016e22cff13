#pragma once
#include "RackOptions.h"
#include "SimulatedUnit.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace unitsim {

// The rack: one UDP socket per unit, each on its own loopback address, sending status
// packets to DeskPanel at the interval each unit was last told.
class SimulatedRack {
public:
    explicit SimulatedRack(RackOptions options);
    ~SimulatedRack();

    // Binds every unit's socket; false with a message on failure.
    bool open(std::string& error);
    // Runs until the duration is over or `stop` is raised; `reportNow` asks for a report.
    void run(const std::atomic<bool>& stop, std::atomic<bool>& reportNow);
    // One JSON line per unit, then a summary line.
    void report() const;

private:
    struct Slot {
        SimulatedUnit unit;
        std::string address;
        std::uint32_t addressValue = 0;
        int socket = -1;
        std::uint32_t nextSendMs = 0;
        std::uint64_t sent = 0;
    };
    void sendStatus(Slot& slot, std::uint32_t nowMs);
    void receiveFrom(Slot& slot);

    RackOptions m_options;
    std::vector<Slot> m_slots;
    std::uint32_t m_hostAddress = 0;
    std::uint64_t m_received = 0;
};

} // namespace unitsim
