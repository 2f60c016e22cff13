#include "core/unitlink/HealthCheck.h"

#include "core/model/Text.h"

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

std::string abnormalReadingsText(const UnitHealth& health)
{
    struct Reading {
        const char* name;
        float value, low, high;
        const char* unit;
    };
    const Reading readings[] = {
        {"48v Monitor", health.monitor48V, 46.0f, 50.0f, "volts"},
        {"24v Monitor", health.monitor24V, 22.0f, 26.0f, "volts"},
        {"5v Monitor", health.monitor5V, 4.0f, 7.0f, "volts"},
        {"3.3v Monitor", health.monitor3V3, 1.0f, 6.0f, "volts"},
        {"Temperature", health.temperature, TemperatureMinC, TemperatureMaxC, "degrees C"},
    };
    std::string text;
    for (const Reading& r : readings) {
        if (within(r.value, r.low, r.high))
            continue;
        if (!text.empty())
            text += ", ";
        text += format("%s = %.1f %s", r.name, static_cast<double>(r.value), r.unit);
    }
    return text;
}

} // namespace deskpanel
