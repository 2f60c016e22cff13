#pragma once
#include "core/host/Timers.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

namespace deskpanel {

// The timer table on Qt's event loop; timers keep firing inside modal boxes.
class QtTimers : public Timers {
public:
    void start(TimerId id, std::uint32_t periodMs) override;
    void stop(TimerId id) override;
    bool isRunning(TimerId id) const override;

private:
    std::map<TimerId, std::unique_ptr<QTimer>> m_timers;
};

} // namespace deskpanel
