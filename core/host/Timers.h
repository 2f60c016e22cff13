#pragma once
#include "core/host/TimerId.h"

#include <cstdint>
#include <functional>
#include <map>

namespace deskpanel {

// The timer table of the main window. Every timer is periodic; a one-shot timer is one
// whose handler stops it as its first step. Starting a running timer restarts it with
// the new period, so arming a one-shot again before it fires postpones it.
class Timers {
public:
    using Handler = std::function<void()>;

    virtual ~Timers() = default;
    virtual void start(TimerId id, std::uint32_t periodMs) = 0;
    virtual void stop(TimerId id) = 0;
    virtual bool isRunning(TimerId id) const = 0;

    // Each subsystem registers the handlers of the timers it owns; a later registration
    // for the same id replaces the earlier one.
    void setHandler(TimerId id, Handler handler);
    void clearHandler(TimerId id);

protected:
    // Called by the implementation when a timer expires.
    void fire(TimerId id);

private:
    std::map<TimerId, Handler> m_handlers;
};

} // namespace deskpanel
