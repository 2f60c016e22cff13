#include "app/QtTimers.h"

namespace deskpanel {

void QtTimers::start(TimerId id, std::uint32_t periodMs)
{
    auto& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        timer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.get(), &QTimer::timeout, [this, id] { fire(id); });
    }
    timer->start(static_cast<int>(periodMs));
}

void QtTimers::stop(TimerId id)
{
    auto it = m_timers.find(id);
    if (it != m_timers.end())
        it->second->stop();
}

bool QtTimers::isRunning(TimerId id) const
{
    auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}

} // namespace deskpanel
