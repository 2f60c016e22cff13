#pragma once
#include <cstdint>
#include <string>

namespace deskpanel {

// A moment of the calendar: milliseconds since 1970-01-01 UTC and the local offset from
// UTC that was in force then.
struct WallTime {
    std::int64_t msSinceEpoch = 0;
    int utcOffsetMinutes = 0;
};

// The time of day as people read it (records for the operator); the monotonic Clock
// stays the measure of every period.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual WallTime now() const = 0;
};

// "2026-12-07 22:41:07.123 +01:00": local time, milliseconds and the offset from UTC.
std::string wallTimeText(const WallTime& time);
// "22:41:07.123": the local time of day alone.
std::string wallTimeOfDay(const WallTime& time);
// "2026-12-07 224107": for file names; local time, whole seconds.
std::string wallTimeStamp(const WallTime& time);
// The local calendar day, counted from 1970-01-01.
std::int64_t wallLocalDay(const WallTime& time);

} // namespace deskpanel
