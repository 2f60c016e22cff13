#pragma once
#include "core/unitlink/UnitPacket.h"

#include <array>
#include <cstdint>
#include <string>

namespace unitsim {

// How a simulated unit misbehaves, if at all.
struct UnitBehaviour {
    int reportedNumber = 0; // the unit number it sends (may be outside 1..48)
    bool localMode = false; // mode byte 0
    std::string abnormal; // "", "48v", "24v", "5v", "3v3" or "temp"
    bool wrongMagic = false;
    bool reducedGain = false; // variant byte 1
    bool foreignMac = false; // a second MAC also sends from this unit's address
    int renumberTo = 0; // 0: never
    std::uint32_t renumberAtMs = 0;
    std::uint32_t silentFromMs = 0; // silent in [from, to) when to > from
    std::uint32_t silentToMs = 0;
    std::uint16_t fixedIntervalMs = 0; // when set, poll packets do not change the interval
};

// What one input was last set to by the host.
struct InputState {
    int gainDb = 8;
    bool gainSet = false;
    std::uint8_t switches = 0; // bit 0 link, 1 48 V, 2 pad, 3 polarity, 4 mute
    bool switchesSet = false;
};

// One unit of the rack: builds its status packets and applies the packets it receives.
class SimulatedUnit {
public:
    SimulatedUnit(int index, UnitBehaviour behaviour);

    // The status packet at time `nowMs` since the start of the run.
    deskpanel::PacketBytes statusPacket(std::uint32_t nowMs, bool fromForeignMac = false) const;
    // A packet from the host. Returns false when it is not a valid host packet.
    bool apply(const std::uint8_t* data, std::size_t size);
    bool silentAt(std::uint32_t nowMs) const;
    int reportedNumberAt(std::uint32_t nowMs) const;

    std::uint16_t intervalMs() const { return m_intervalMs; }
    const UnitBehaviour& behaviour() const { return m_behaviour; }
    // One JSON object on one line: what reached this unit.
    std::string reportJson(const std::string& address) const;

private:
    int m_index;
    UnitBehaviour m_behaviour;
    std::array<std::uint8_t, 6> m_mac{};
    std::array<InputState, 8> m_inputs{};
    std::uint16_t m_intervalMs = 100;
    std::uint8_t m_lastFaultFlag = 0;
    std::uint64_t m_polls = 0;
    std::uint64_t m_parameters = 0;
    std::uint64_t m_rejected = 0;
};

} // namespace unitsim
