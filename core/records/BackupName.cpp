#include "core/records/BackupName.h"

#include "core/model/Text.h"

#include <cstdlib>

namespace deskpanel {

namespace {

constexpr std::size_t StampLength = 17; // "YYYY-MM-DD HHMMSS"
constexpr std::size_t OffsetLength = 5; // "+HHMM"
constexpr int MaxSequence = 999;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t daysFromCivil(int year, int month, int day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The digits at `at`, `count` of them; -1 when one is not a digit.
int digits(std::string_view text, std::size_t at, std::size_t count)
{
    int value = 0;
    for (std::size_t i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "YYYY-MM-DD HHMMSS" as local milliseconds since 1970; nothing when it is no such time.
std::optional<std::int64_t> localMsOf(std::string_view stamp)
{
    if (stamp[4] != '-' || stamp[7] != '-' || stamp[10] != ' ')
        return std::nullopt;
    const int year = digits(stamp, 0, 4), month = digits(stamp, 5, 2), day = digits(stamp, 8, 2);
    const int hour = digits(stamp, 11, 2), minute = digits(stamp, 13, 2), second = digits(stamp, 15, 2);
    if (year < 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59)
        return std::nullopt;
    return ((daysFromCivil(year, month, day) * 24 + hour) * 60 + minute) * 60000 + std::int64_t{second} * 1000;
}

} // namespace

std::string BackupName::text() const
{
    const int offset = std::abs(taken.utcOffsetMinutes);
    return wallTimeStamp(taken) +
           format("%c%02d%02d #%03d", taken.utcOffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60, sequence);
}

std::string BackupName::day() const
{
    return wallTimeStamp(taken).substr(0, 10);
}

std::optional<BackupName> BackupName::parse(std::string_view text, int assumedOffsetMinutes)
{
    if (text.size() != StampLength && text.size() != StampLength + OffsetLength + 5)
        return std::nullopt;
    const auto local = localMsOf(text);
    if (!local)
        return std::nullopt;
    BackupName name;
    if (text.size() == StampLength) {
        name.offsetKnown = false;
        name.taken = {*local - std::int64_t{assumedOffsetMinutes} * 60000, assumedOffsetMinutes};
        return name;
    }
    const char sign = text[StampLength];
    const int hours = digits(text, StampLength + 1, 2), minutes = digits(text, StampLength + 3, 2);
    const std::size_t number = StampLength + OffsetLength;
    if ((sign != '+' && sign != '-') || hours < 0 || hours > 23 || minutes < 0 || minutes > 59 ||
        text.substr(number, 2) != " #")
        return std::nullopt;
    name.sequence = digits(text, number + 2, 3);
    if (name.sequence < 1 || name.sequence > MaxSequence)
        return std::nullopt;
    const int offset = (sign == '-' ? -1 : 1) * (hours * 60 + minutes);
    name.taken = {*local - std::int64_t{offset} * 60000, offset};
    return name;
}

bool BackupName::newerThan(const BackupName& other) const
{
    if (taken.msSinceEpoch / 1000 != other.taken.msSinceEpoch / 1000)
        return taken.msSinceEpoch > other.taken.msSinceEpoch;
    return sequence > other.sequence;
}

} // namespace deskpanel
