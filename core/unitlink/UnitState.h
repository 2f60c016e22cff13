#pragma once
#include "core/host/Ipv4Endpoint.h"
#include "core/unitlink/UnitPacket.h"

#include <array>
#include <cstdint>
#include <string>

namespace deskpanel {

enum class UnitState : int {
    INACTIVE = 1,
    ACTIVE = 2,
    OFFLINE = 3,
    CONFLICT = 4,
    LOCAL = 5,
    FAULT = 8,
};

// "INACTIVE", "ACTIVE", ...
const char* unitStateName(UnitState state);

// The pictures of a unit's box.
enum class UnitPicture {
    Inactive,
    Active,
    Offline,
    Conflicted,
    Fault
};
UnitPicture pictureForState(UnitState state);

// One unit currently heard. Owned by the unit table.
struct UnitRecord {
    std::uint8_t unitId = 0;
    std::uint8_t variantByte = 0;
    std::uint8_t faultFlag = 0;
    std::uint16_t updateInterval = 0;
    std::array<std::uint8_t, 6> mac{};
    std::uint32_t lastHeard = 0;
    std::uint32_t blinkTime = 0;
    Ipv4Endpoint address;
    // The unit's first packet, edited by the settings sent since. Kept in wire byte
    // order; fields are read and written through the packet accessors.
    PacketBytes packetImage{};

    std::string macText() const { return deskpanel::macText(mac); }
    // The dotted address the unit's packets come from.
    std::string ipText() const { return ipv4Text(address.address); }
    int imageUnitNumber() const { return packetImage[packet::UnitNumber]; }
};

// What is known of one unit number 1..48 for the whole run.
struct UnitSlot {
    UnitState state = UnitState::INACTIVE;
    std::string slotIpText;
    std::uint8_t modeByte = 0;
    bool wasLocal = false;
    UnitState healthState = UnitState::ACTIVE;
    bool ipConflict = false;
    bool idConflict = false;
    bool offlineReported = false;
    bool blinkStarted = false;
    bool blinkPhase = false;
    UnitHealth health;
    // Readings are zero until the first fully processed packet; until then the unit's
    // health counts as normal, or every new unit would be reported faulty once.
    bool hasReadings = false;
};

} // namespace deskpanel
