#pragma once
#include "core/host/BackgroundWork.h"

#include <atomic>

namespace deskpanel {

// Background work on a thread of its own while the UI thread runs a local event loop, so
// meters, faders and timers keep going. Work is done one piece at a time: work handed
// over from inside that loop (a second save) waits until the first piece is done.
class QtBackgroundWork : public BackgroundWork {
public:
    void run(const std::function<void()>& work) override;
    void waitUntilIdle() override;
    bool isBusy() const override { return m_working; }

private:
    // Cleared by the worker itself, so a wait nested inside another's loop ends too.
    std::atomic<bool> m_working{false};
};

} // namespace deskpanel
