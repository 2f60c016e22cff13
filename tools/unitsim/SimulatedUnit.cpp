#include "SimulatedUnit.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace unitsim {

using namespace deskpanel;

SimulatedUnit::SimulatedUnit(int index, UnitBehaviour behaviour) : m_index(index), m_behaviour(std::move(behaviour))
{
    if (m_behaviour.fixedIntervalMs != 0)
        m_intervalMs = m_behaviour.fixedIntervalMs;
    m_mac = {0x02, 0x52, 0x50, 0x38, static_cast<std::uint8_t>(index >> 8), static_cast<std::uint8_t>(index)};
}

bool SimulatedUnit::silentAt(std::uint32_t nowMs) const
{
    return m_behaviour.silentToMs > m_behaviour.silentFromMs && nowMs >= m_behaviour.silentFromMs &&
           nowMs < m_behaviour.silentToMs;
}

int SimulatedUnit::reportedNumberAt(std::uint32_t nowMs) const
{
    if (m_behaviour.renumberTo != 0 && nowMs >= m_behaviour.renumberAtMs)
        return m_behaviour.renumberTo;
    return m_behaviour.reportedNumber;
}

PacketBytes SimulatedUnit::statusPacket(std::uint32_t nowMs, bool fromForeignMac) const
{
    PacketBytes bytes{};
    std::memcpy(bytes.data(), m_behaviour.wrongMagic ? "VLTX" : "VLTA", 4);
    bytes[packet::Type] = 1;
    bytes[packet::UnitNumber] = static_cast<std::uint8_t>(reportedNumberAt(nowMs));
    bytes[6] = 0x01;
    std::memcpy(bytes.data() + packet::Mac, m_mac.data(), m_mac.size());
    if (fromForeignMac)
        bytes[packet::Mac + 3] ^= 0xFF;
    writeU32(bytes, packet::WordA, 0x52503801u);
    writeU32(bytes, packet::WordB, static_cast<std::uint32_t>(m_index));
    writeU32(bytes, packet::WordC, 0x00010001u);
    bytes[packet::Mode] = m_behaviour.localMode ? 0 : 1;
    for (int input = 1; input <= 8; ++input) {
        const InputState& state = m_inputs[static_cast<std::size_t>(input - 1)];
        // A slowly breathing programme level per input, louder with more gain, silent
        // when muted.
        const double phase = nowMs / 1000.0 * (0.7 + 0.13 * input) + m_index * 0.9;
        double levelDb = -42.0 + (state.gainDb - 8) * 0.5 + 14.0 * std::sin(phase) + 6.0 * std::sin(phase * 3.7);
        if (state.switches & packet::MuteBit)
            levelDb = -99;
        if (state.switches & packet::PadBit)
            levelDb -= 20;
        const int rounded = static_cast<int>(std::lround(levelDb));
        const int magnitude = std::abs(rounded) > 255 ? 255 : std::abs(rounded);
        const std::uint16_t word = static_cast<std::uint16_t>((rounded > 0 ? 0x0100 : 0) | magnitude);
        const std::size_t block = packet::blockOffset(input);
        writeU16(bytes, block + packet::BlockLevel, word);
        writeU16(bytes, block + packet::BlockLevel2, word);
        bytes[block + packet::BlockGain] = static_cast<std::uint8_t>(state.gainDb);
        bytes[block + packet::BlockSwitches] = state.switches;
    }
    bytes[packet::Variant] = m_behaviour.reducedGain ? 1 : 0;
    std::uint8_t health[5] = {96, 120, 50, 33, 41}; // 48 V, 24 V, 5 V, 3.3 V, 41 C
    const std::string& abnormal = m_behaviour.abnormal;
    if (abnormal == "48v")
        health[0] = 80;
    else if (abnormal == "24v")
        health[1] = 90;
    else if (abnormal == "5v")
        health[2] = 20;
    else if (abnormal == "3v3")
        health[3] = 5;
    else if (abnormal == "temp")
        health[4] = 160;
    std::memcpy(bytes.data() + packet::Monitor48V, health, sizeof health);
    writeU32(bytes, packet::WordD, 0x00000104u);
    return bytes;
}

bool SimulatedUnit::apply(const std::uint8_t* data, std::size_t size)
{
    if (size != PacketSize || std::memcmp(data, "VLTA", 4) != 0 || data[packet::Type] != packet::TypeToUnit) {
        ++m_rejected;
        return false;
    }
    PacketBytes bytes;
    std::memcpy(bytes.data(), data, PacketSize);
    // A poll packet carries the update interval; a parameter packet carries back the
    // zero this unit sends there.
    const std::uint16_t interval = readU16(bytes, packet::UpdateInterval);
    if (interval != 0) {
        ++m_polls;
        if (interval <= 10000 && m_behaviour.fixedIntervalMs == 0)
            m_intervalMs = interval;
        m_lastFaultFlag = bytes[packet::FaultFlag];
    } else {
        ++m_parameters;
    }
    for (int input = 1; input <= 8; ++input) {
        const std::size_t block = packet::blockOffset(input);
        InputState& state = m_inputs[static_cast<std::size_t>(input - 1)];
        const std::uint8_t gain = bytes[block + packet::BlockGain];
        if (gain & packet::GainSetBit) {
            state.gainDb = gain & 0x7F;
            state.gainSet = true;
        }
        const std::uint8_t switches = bytes[block + packet::BlockSwitches];
        if (switches & packet::SwitchSetBit) {
            state.switches = switches & 0x1F;
            state.switchesSet = true;
        }
    }
    return true;
}

std::string SimulatedUnit::reportJson(const std::string& address) const
{
    std::string json;
    char head[256];
    std::snprintf(head, sizeof head,
                  "{\"unit\":%d,\"address\":\"%s\",\"polls\":%llu,\"parameters\":%llu,\"rejected\":%llu,"
                  "\"intervalMs\":%u,\"faultFlag\":%u,\"inputs\":[",
                  m_behaviour.reportedNumber, address.c_str(), static_cast<unsigned long long>(m_polls),
                  static_cast<unsigned long long>(m_parameters), static_cast<unsigned long long>(m_rejected),
                  m_intervalMs, m_lastFaultFlag);
    json += head;
    for (std::size_t i = 0; i < m_inputs.size(); ++i) {
        const InputState& s = m_inputs[i];
        char input[160];
        std::snprintf(input, sizeof input,
                      "%s{\"gainDb\":%d,\"link\":%d,\"phantom\":%d,\"pad\":%d,\"polarity\":%d,\"mute\":%d,\"set\":%s}",
                      i ? "," : "", s.gainDb, s.switches & 1, (s.switches >> 1) & 1, (s.switches >> 2) & 1,
                      (s.switches >> 3) & 1, (s.switches >> 4) & 1, (s.gainSet || s.switchesSet) ? "true" : "false");
        json += input;
    }
    json += "]}";
    return json;
}

} // namespace unitsim
