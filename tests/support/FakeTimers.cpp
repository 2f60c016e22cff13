#include "tests/support/FakeTimers.h"

namespace deskpanel::test {

void FakeTimers::start(TimerId id, std::uint32_t periodMs)
{
    m_running[id] = Running{periodMs, m_virtualNow + periodMs};
    m_starts.emplace_back(id, periodMs);
}

void FakeTimers::stop(TimerId id)
{
    m_running.erase(id);
}

bool FakeTimers::isRunning(TimerId id) const
{
    return m_running.count(id) != 0;
}

std::uint32_t FakeTimers::periodOf(TimerId id) const
{
    auto it = m_running.find(id);
    return it == m_running.end() ? 0 : it->second.periodMs;
}

void FakeTimers::advance(std::uint32_t ms)
{
    const std::uint64_t target = m_virtualNow + ms;
    for (;;) {
        // The earliest due timer at or before the target; ties in id order.
        auto next = m_running.end();
        for (auto it = m_running.begin(); it != m_running.end(); ++it) {
            if (it->second.dueMs <= target && (next == m_running.end() || it->second.dueMs < next->second.dueMs))
                next = it;
        }
        if (next == m_running.end())
            break;
        const TimerId id = next->first;
        const std::uint64_t due = next->second.dueMs;
        m_clock.advance(static_cast<std::uint32_t>(due - m_virtualNow));
        m_virtualNow = due;
        next->second.dueMs = due + (next->second.periodMs == 0 ? 1 : next->second.periodMs);
        fire(id);
    }
    m_clock.advance(static_cast<std::uint32_t>(target - m_virtualNow));
    m_virtualNow = target;
}

} // namespace deskpanel::test
