#include "core/unitlink/HealthCheck.h"

namespace deskpanel {

namespace {
bool within(float value, float low, float high)
{
    return value >= low && value <= high;
}
} // namespace

bool voltagesNormal(const UnitHealth& health)
{
    return within(health.monitor48V, 46.0f, 50.0f) && within(health.monitor24V, 22.0f, 26.0f) &&
           within(health.monitor5V, 4.0f, 7.0f) && within(health.monitor3V3, 1.0f, 6.0f);
}

bool temperatureNormal(const UnitHealth& health)
{
    return within(health.temperature, TemperatureMinC, TemperatureMaxC);
}

} // namespace deskpanel
