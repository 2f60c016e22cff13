#pragma once
#include "core/unitlink/UnitPacket.h"

#include <string>

namespace deskpanel {

// Normal ranges of a unit's supplies and temperature, inclusive at both ends.
constexpr float TemperatureMinC = 1.0f;
constexpr float TemperatureMaxC = 150.0f;

bool voltagesNormal(const UnitHealth& health);
bool temperatureNormal(const UnitHealth& health);
// The readings out of their ranges, "48v Monitor = 44.5 volts, ..."; empty when normal.
std::string abnormalReadingsText(const UnitHealth& health);
inline bool healthNormal(const UnitHealth& health)
{
    return voltagesNormal(health) && temperatureNormal(health);
}

} // namespace deskpanel
