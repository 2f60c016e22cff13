#include "core/unitlink/UnitPacket.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace deskpanel {

std::uint16_t readU16(const PacketBytes& bytes, std::size_t offset)
{
    return static_cast<std::uint16_t>((bytes[offset] << 8) | bytes[offset + 1]);
}

std::uint32_t readU32(const PacketBytes& bytes, std::size_t offset)
{
    return (static_cast<std::uint32_t>(bytes[offset]) << 24) | (static_cast<std::uint32_t>(bytes[offset + 1]) << 16) |
           (static_cast<std::uint32_t>(bytes[offset + 2]) << 8) | bytes[offset + 3];
}

void writeU16(PacketBytes& bytes, std::size_t offset, std::uint16_t value)
{
    bytes[offset] = static_cast<std::uint8_t>(value >> 8);
    bytes[offset + 1] = static_cast<std::uint8_t>(value);
}

void writeU32(PacketBytes& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

bool hasMagic(const PacketBytes& bytes)
{
    return std::memcmp(bytes.data() + packet::Magic, "VLTA", 4) == 0;
}

int decodeLevel(std::uint16_t word)
{
    const int magnitude = word & 0x00FF;
    return (word & 0xFF00) != 0 ? magnitude : -magnitude;
}

UnitHealth UnitReport::health() const
{
    UnitHealth health;
    health.monitor48V = healthCounts[0] * 0.5f;
    health.monitor24V = healthCounts[1] * 0.2f;
    health.monitor5V = healthCounts[2] * 0.1f;
    health.monitor3V3 = healthCounts[3] * 0.1f;
    health.temperature = static_cast<float>(healthCounts[4]);
    return health;
}

UnitReport readPacket(const PacketBytes& bytes)
{
    UnitReport report;
    report.unitNumber = bytes[packet::UnitNumber];
    std::memcpy(report.mac.data(), bytes.data() + packet::Mac, report.mac.size());
    report.modeByte = bytes[packet::Mode];
    report.variantByte = bytes[packet::Variant];
    for (int input = 1; input <= 8; ++input) {
        const std::size_t block = packet::blockOffset(input);
        report.levelsDb[static_cast<std::size_t>(input - 1)] = decodeLevel(readU16(bytes, block + packet::BlockLevel));
        report.secondLevelsDb[static_cast<std::size_t>(input - 1)] =
            decodeLevel(readU16(bytes, block + packet::BlockLevel2));
    }
    for (std::size_t i = 0; i < report.healthCounts.size(); ++i)
        report.healthCounts[i] = bytes[packet::Monitor48V + i];
    report.sequence = readU32(bytes, packet::Sequence);
    report.updateIntervalMs = readU16(bytes, packet::UpdateInterval);
    return report;
}

std::string macText(const std::array<std::uint8_t, 6>& mac)
{
    char text[13];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X%02X%02X", mac[0], mac[1], mac[2], mac[3], mac[4], mac[5]);
    return text;
}

std::string macText(const PacketBytes& bytes)
{
    std::array<std::uint8_t, 6> mac{};
    std::memcpy(mac.data(), bytes.data() + packet::Mac, mac.size());
    return macText(mac);
}

namespace {

void writeHeader(PacketBytes& bytes, std::uint8_t variantByte, std::uint32_t sequence)
{
    std::memcpy(bytes.data() + packet::Magic, "VLTA", 4);
    bytes[packet::Type] = packet::TypeToUnit;
    bytes[packet::Variant] = variantByte;
    writeU32(bytes, packet::Sequence, sequence);
}

// Truncation toward zero, made safe for values no integer can hold.
int truncatedValue(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double truncated = std::trunc(value);
    if (truncated >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (truncated <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(truncated);
}

} // namespace

PacketBytes buildPollPacket(const PacketBytes& image, std::uint8_t faultFlag, std::uint16_t updateRateMs,
                            std::uint8_t variantByte, std::uint32_t sequence)
{
    PacketBytes bytes = image;
    writeHeader(bytes, variantByte, sequence);
    bytes[packet::FaultFlag] = faultFlag;
    writeU16(bytes, packet::UpdateInterval, updateRateMs);
    return bytes;
}

void applyParameter(PacketBytes& image, const std::string& name, double value, int input)
{
    if (input < 1 || input > 8)
        return;
    const std::size_t block = packet::blockOffset(input);
    const int whole = truncatedValue(value);
    if (name == "Gain") {
        image[block + packet::BlockGain] =
            static_cast<std::uint8_t>((static_cast<unsigned>(whole) & 0xFFu) | packet::GainSetBit);
        return;
    }
    std::uint8_t bit = 0;
    if (name == "Link")
        bit = packet::LinkBit;
    else if (name == "Mute")
        bit = packet::MuteBit;
    else if (name == "Pol")
        bit = packet::PolarityBit;
    else if (name == "Pad")
        bit = packet::PadBit;
    else if (name == "48v")
        bit = packet::PhantomBit;
    else
        return;
    std::uint8_t& switches = image[block + packet::BlockSwitches];
    switches |= packet::SwitchSetBit;
    if (whole != 0)
        switches |= bit;
    else
        switches &= static_cast<std::uint8_t>(~bit);
}

PacketBytes buildParameterPacket(const PacketBytes& image, std::uint8_t variantByte, std::uint32_t sequence)
{
    PacketBytes bytes = image;
    for (int input = 1; input <= 8; ++input) {
        const std::size_t block = packet::blockOffset(input);
        writeU16(bytes, block + packet::BlockLevel, 0);
        writeU16(bytes, block + packet::BlockLevel2, 0);
    }
    writeHeader(bytes, variantByte, sequence);
    return bytes;
}

} // namespace deskpanel
