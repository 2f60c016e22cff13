#pragma once
#include "core/host/Timers.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

namespace deskpanel {

// The timer table on Qt's event loop; timers keep firing inside modal boxes.
//
// A running timer started again with the same period is not registered anew: a remote
// control moving a gain a thousand times a second postpones the same timer each time,
// and re-registering it cost more than the rest of the change. The timer notes when it
// was started last; a timeout that comes before the period has passed since then waits
// for the rest instead of firing.
class QtTimers : public Timers {
public:
    void start(TimerId id, std::uint32_t periodMs) override;
    void stop(TimerId id) override;
    bool isRunning(TimerId id) const override;

private:
    struct Entry {
        std::unique_ptr<QTimer> timer;
        std::uint32_t periodMs = 0;
        QElapsedTimer startedAt; // the last start, lazy or not
        bool postponed = false; // started again while running, not re-registered
    };

    void timedOut(TimerId id);

    std::map<TimerId, Entry> m_timers;
};

} // namespace deskpanel
