#pragma once
#include "core/host/Clock.h"

namespace deskpanel::test {

class FakeClock : public Clock {
public:
    std::uint32_t nowMs() const override { return m_nowMs; }
    void set(std::uint32_t ms) { m_nowMs = ms; }
    void advance(std::uint32_t ms) { m_nowMs += ms; }

private:
    std::uint32_t m_nowMs = 1000;
};

} // namespace deskpanel::test
