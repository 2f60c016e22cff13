#pragma once
#include <functional>

namespace deskpanel {

// Runs slow work (encoding and writing a project file) away from the UI thread. run()
// returns when the work is done; meanwhile the UI thread keeps serving its events, so
// timers, datagrams and the operator's input go on exactly as inside a modal box. Work
// handed over while earlier work is still running waits for it: one at a time.
class BackgroundWork {
public:
    virtual ~BackgroundWork() = default;
    virtual void run(const std::function<void()>& work) = 0;
    // Returns when no work is running.
    virtual void waitUntilIdle() = 0;
    virtual bool isBusy() const = 0;
};

// Runs the work at once on the calling thread (tests, and programs without an event loop).
class InlineWork : public BackgroundWork {
public:
    void run(const std::function<void()>& work) override { work(); }
    void waitUntilIdle() override {}
    bool isBusy() const override { return false; }
};

} // namespace deskpanel
