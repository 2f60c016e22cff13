#pragma once
#include "core/host/WallClock.h"

#include <QDateTime>

namespace deskpanel {

// The system's calendar time with the local offset from UTC in force now.
class QtWallClock : public WallClock {
public:
    WallTime now() const override
    {
        const QDateTime local = QDateTime::currentDateTime();
        return WallTime{local.toMSecsSinceEpoch(), local.offsetFromUtc() / 60};
    }
};

} // namespace deskpanel
