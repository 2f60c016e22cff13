#pragma once
#include "core/unitlink/UnitPacket.h"

#include <cstring>

namespace deskpanel::test {

// A packet as a unit would send it, built byte by byte without the codec under test.
struct UnitPacketFields {
    std::uint8_t unitNumber = 1;
    std::array<std::uint8_t, 6> mac{0x00, 0x50, 0xC2, 0x00, 0x00, 0x01};
    std::uint8_t mode = 1;
    std::uint8_t variant = 0;
    std::array<std::uint8_t, 5> health{96, 120, 50, 33, 40}; // 48.0 V, 24.0 V, 5.0 V, 3.3 V, 40 C
    std::array<std::uint16_t, 8> levelWords{};
    bool goodMagic = true;
};

inline PacketBytes unitPacket(const UnitPacketFields& fields)
{
    PacketBytes bytes{};
    std::memcpy(bytes.data(), fields.goodMagic ? "VLTA" : "XLTA", 4);
    bytes[4] = 1;
    bytes[5] = fields.unitNumber;
    std::memcpy(bytes.data() + 8, fields.mac.data(), 6);
    // Kept words the unit expects back unchanged.
    const std::uint8_t wordA[4] = {0xDE, 0xAD, 0xBE, 0xEF};
    std::memcpy(bytes.data() + 14, wordA, 4);
    bytes[33] = fields.mode;
    for (int k = 0; k < 8; ++k) {
        bytes[34 + 6 * k] = static_cast<std::uint8_t>(fields.levelWords[static_cast<std::size_t>(k)] >> 8);
        bytes[35 + 6 * k] = static_cast<std::uint8_t>(fields.levelWords[static_cast<std::size_t>(k)]);
    }
    bytes[82] = fields.variant;
    std::memcpy(bytes.data() + 85, fields.health.data(), 5);
    bytes[93] = 0x01;
    bytes[96] = 0x04;
    return bytes;
}

inline std::array<std::uint8_t, 6> macOf(int unit)
{
    return {0x00, 0x50, 0xC2, 0x10, 0x00, static_cast<std::uint8_t>(unit)};
}

} // namespace deskpanel::test
