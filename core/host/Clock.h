#pragma once
#include <cstdint>

namespace deskpanel {

// A free-running millisecond clock. It wraps after about 49 days, so callers always
// compare two readings by unsigned subtraction: `now - then > periodMs`.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t nowMs() const = 0;
};

// The real clock: monotonic, independent of wall-clock changes.
class SteadyClock : public Clock {
public:
    std::uint32_t nowMs() const override;
};

} // namespace deskpanel
