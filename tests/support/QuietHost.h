#pragma once
#include "core/host/Operator.h"
#include "core/host/Timers.h"

namespace deskpanel::test {

// For benchmarks and fuzz targets: boxes that answer at once and record nothing.
class QuietOperator : public Operator {
public:
    void message(const std::string&) override {}
    void platformMessage(const std::string&) override {}
    Decision decide(const std::string&) override { return Decision::Yes; }
    Decision decideThreeWay(const std::string&, const std::function<void()>&) override { return Decision::No; }
    void timedNote(const std::string&, const std::string&, std::uint32_t) override {}
    bool isTimedNoteOpen() const override { return false; }
    void beep() override {}
};

// Timers that never fire, so that what a timer would do later is not part of a measurement.
class IdleTimers : public Timers {
public:
    void start(TimerId, std::uint32_t) override {}
    void stop(TimerId) override {}
    bool isRunning(TimerId) const override { return false; }
};

} // namespace deskpanel::test
