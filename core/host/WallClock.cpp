#include "core/host/WallClock.h"

#include "core/model/Text.h"

#include <cstdlib>

namespace deskpanel {

namespace {

struct LocalParts {
    int year, month, day, hour, minute, second, millisecond;
};

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Days since 1970-01-01 to the proleptic Gregorian calendar.
void civilFromDays(std::int64_t days, int& year, int& month, int& day)
{
    days += 719468;
    const std::int64_t era = floorDiv(days, 146097);
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::int64_t localMs(const WallTime& time)
{
    return time.msSinceEpoch + std::int64_t{time.utcOffsetMinutes} * 60000;
}

LocalParts localParts(const WallTime& time)
{
    const std::int64_t ms = localMs(time);
    const std::int64_t days = floorDiv(ms, 86400000);
    const std::int64_t inDay = ms - days * 86400000;
    LocalParts parts{};
    civilFromDays(days, parts.year, parts.month, parts.day);
    parts.hour = static_cast<int>(inDay / 3600000);
    parts.minute = static_cast<int>(inDay / 60000 % 60);
    parts.second = static_cast<int>(inDay / 1000 % 60);
    parts.millisecond = static_cast<int>(inDay % 1000);
    return parts;
}

} // namespace

std::string wallTimeText(const WallTime& time)
{
    const LocalParts p = localParts(time);
    const int offset = std::abs(time.utcOffsetMinutes);
    return format("%04d-%02d-%02d %02d:%02d:%02d.%03d %c%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second,
                  p.millisecond, time.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
}

std::string wallTimeOfDay(const WallTime& time)
{
    const LocalParts p = localParts(time);
    return format("%02d:%02d:%02d.%03d", p.hour, p.minute, p.second, p.millisecond);
}

std::string wallTimeStamp(const WallTime& time)
{
    const LocalParts p = localParts(time);
    return format("%04d-%02d-%02d %02d%02d%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
}

std::int64_t wallLocalDay(const WallTime& time)
{
    return floorDiv(localMs(time), 86400000);
}

} // namespace deskpanel
