#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace deskpanel {

// The one datagram both directions use: 97 bytes, multi-byte fields big-endian.
constexpr std::size_t PacketSize = 97;
using PacketBytes = std::array<std::uint8_t, PacketSize>;

namespace packet {
constexpr std::size_t Magic = 0; // "VLTA", no terminator
constexpr std::size_t Type = 4; // always 3 towards a unit
constexpr std::size_t UnitNumber = 5;
constexpr std::size_t Mac = 8; // 6 bytes
constexpr std::size_t WordA = 14;
constexpr std::size_t WordB = 18;
constexpr std::size_t WordC = 22;
constexpr std::size_t Sequence = 26;
constexpr std::size_t FaultFlag = 30;
constexpr std::size_t UpdateInterval = 31; // 16 bits
constexpr std::size_t Mode = 33; // 0: the unit is in front-panel (LOCAL) mode
constexpr std::size_t Blocks = 34; // eight 6-byte channel blocks
constexpr std::size_t BlockSize = 6;
constexpr std::size_t BlockLevel = 0; // 16 bits
constexpr std::size_t BlockLevel2 = 2; // 16 bits
constexpr std::size_t BlockGain = 4;
constexpr std::size_t BlockSwitches = 5;
constexpr std::size_t Variant = 82; // 1: reduced gain range
constexpr std::size_t Monitor48V = 85; // 0.5 V per count
constexpr std::size_t Monitor24V = 86; // 0.2 V per count
constexpr std::size_t Monitor5V = 87; // 0.1 V per count
constexpr std::size_t Monitor3V3 = 88; // 0.1 V per count
constexpr std::size_t Temperature = 89; // 1 degree C per count
constexpr std::size_t WordD = 93;

constexpr std::uint8_t TypeToUnit = 3;
constexpr std::uint8_t GainSetBit = 0x80;
constexpr std::uint8_t SwitchSetBit = 0x80;
constexpr std::uint8_t LinkBit = 0x01;
constexpr std::uint8_t PhantomBit = 0x02;
constexpr std::uint8_t PadBit = 0x04;
constexpr std::uint8_t PolarityBit = 0x08;
constexpr std::uint8_t MuteBit = 0x10;

constexpr std::size_t blockOffset(int input)
{
    return Blocks + BlockSize * static_cast<std::size_t>(input - 1);
}
} // namespace packet

// The health readings of a unit in volts and degrees C.
struct UnitHealth {
    float monitor48V = 0;
    float monitor24V = 0;
    float monitor5V = 0;
    float monitor3V3 = 0;
    float temperature = 0;
};

// What a received packet says, converted to host order.
struct UnitReport {
    std::uint8_t unitNumber = 0;
    std::array<std::uint8_t, 6> mac{};
    std::uint8_t modeByte = 0;
    std::uint8_t variantByte = 0;
    std::array<int, 8> levelsDb{};
    std::array<int, 8> secondLevelsDb{};
    std::array<std::uint8_t, 5> healthCounts{}; // 48 V, 24 V, 5 V, 3.3 V, temperature
    std::uint32_t sequence = 0;
    std::uint16_t updateIntervalMs = 0;

    UnitHealth health() const;
};

std::uint16_t readU16(const PacketBytes& bytes, std::size_t offset);
std::uint32_t readU32(const PacketBytes& bytes, std::size_t offset);
void writeU16(PacketBytes& bytes, std::size_t offset, std::uint16_t value);
void writeU32(PacketBytes& bytes, std::size_t offset, std::uint32_t value);

bool hasMagic(const PacketBytes& bytes);
// A level word in sign and magnitude: the low byte is the magnitude in dB, the level is
// positive when the high byte is non-zero.
int decodeLevel(std::uint16_t word);
UnitReport readPacket(const PacketBytes& bytes);
// Twelve upper-case hex digits, no separators.
std::string macText(const std::array<std::uint8_t, 6>& mac);
std::string macText(const PacketBytes& bytes);

// A poll packet: the image with the fault flag, the update rate, the variant byte and
// the next sequence number written over it.
PacketBytes buildPollPacket(const PacketBytes& image, std::uint8_t faultFlag, std::uint16_t updateRateMs,
                            std::uint8_t variantByte, std::uint32_t sequence);

// Writes one parameter change into a unit's image: "Gain" sets the input's gain byte,
// "Link", "48v", "Pad", "Pol" and "Mute" its switch bits. Any other name, or an input
// outside 1..8, leaves the image unchanged.
void applyParameter(PacketBytes& image, const std::string& name, double value, int input);

// A parameter packet: the image with zeroed level words, the variant byte and the next
// sequence number; the fault flag and update interval stay as the image holds them.
PacketBytes buildParameterPacket(const PacketBytes& image, std::uint8_t variantByte, std::uint32_t sequence);

} // namespace deskpanel
