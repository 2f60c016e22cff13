#include "app/QtTimers.h"

namespace deskpanel {

void QtTimers::start(TimerId id, std::uint32_t periodMs)
{
    Entry& entry = m_timers[id];
    if (!entry.timer) {
        entry.timer = std::make_unique<QTimer>();
        entry.timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(entry.timer.get(), &QTimer::timeout, [this, id] { timedOut(id); });
    }
    entry.startedAt.start();
    // A timer of 0 ms means "in the next turn": it is always registered anew.
    if (entry.timer->isActive() && entry.periodMs == periodMs && periodMs > 0) {
        entry.postponed = true;
        return;
    }
    entry.periodMs = periodMs;
    entry.postponed = false;
    entry.timer->start(static_cast<int>(periodMs));
}

void QtTimers::stop(TimerId id)
{
    auto it = m_timers.find(id);
    if (it != m_timers.end()) {
        it->second.timer->stop();
        it->second.postponed = false;
    }
}

bool QtTimers::isRunning(TimerId id) const
{
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second.timer->isActive();
}

void QtTimers::timedOut(TimerId id)
{
    Entry& entry = m_timers[id];
    if (entry.postponed) {
        entry.postponed = false;
        const qint64 elapsed = entry.startedAt.elapsed();
        if (elapsed < entry.periodMs) {
            entry.timer->start(static_cast<int>(entry.periodMs - elapsed)); // the rest, then the period again
            return;
        }
    }
    if (entry.timer->interval() != static_cast<int>(entry.periodMs))
        entry.timer->start(static_cast<int>(entry.periodMs));
    fire(id);
}

} // namespace deskpanel
