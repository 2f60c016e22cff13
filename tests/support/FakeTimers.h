#pragma once
#include "core/host/Timers.h"
#include "tests/support/FakeClock.h"

#include <map>
#include <vector>

namespace deskpanel::test {

// Virtual time for the timer table: advance() moves the clock and fires every due timer
// in order of its due time, the way the event loop would.
class FakeTimers : public Timers {
public:
    explicit FakeTimers(FakeClock& clock) : m_clock(clock) {}

    void start(TimerId id, std::uint32_t periodMs) override;
    void stop(TimerId id) override;
    bool isRunning(TimerId id) const override;

    std::uint32_t periodOf(TimerId id) const;
    // Moves virtual time forward by `ms`, firing due timers on the way.
    void advance(std::uint32_t ms);
    // Fires one timer now, as if it had expired.
    void fireNow(TimerId id) { fire(id); }
    // Every start() in order, for tests that check restarts.
    const std::vector<std::pair<TimerId, std::uint32_t>>& starts() const { return m_starts; }

private:
    struct Running {
        std::uint32_t periodMs;
        std::uint64_t dueMs;
    };
    FakeClock& m_clock;
    std::uint64_t m_virtualNow = 0;
    std::map<TimerId, Running> m_running;
    std::vector<std::pair<TimerId, std::uint32_t>> m_starts;
};

} // namespace deskpanel::test
