#include "core/host/Timers.h"

namespace deskpanel {

void Timers::setHandler(TimerId id, Handler handler)
{
    m_handlers[id] = std::move(handler);
}

void Timers::clearHandler(TimerId id)
{
    m_handlers.erase(id);
}

void Timers::fire(TimerId id)
{
    auto it = m_handlers.find(id);
    if (it == m_handlers.end())
        return;
    // Copy: the handler may replace itself or run a nested event loop that fires more.
    Handler handler = it->second;
    handler();
}

} // namespace deskpanel
