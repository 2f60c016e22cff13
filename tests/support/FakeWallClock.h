#pragma once
#include "core/host/WallClock.h"

namespace deskpanel::test {

// A calendar clock that moves only when told; 2026-12-07 22:00:00.000 UTC+01:00 at first.
class FakeWallClock : public WallClock {
public:
    WallTime now() const override { return m_now; }
    void advance(std::int64_t ms) { m_now.msSinceEpoch += ms; }
    void set(WallTime time) { m_now = time; }

private:
    WallTime m_now{1796677200000, 60};
};

} // namespace deskpanel::test
