#pragma once
#include "core/host/Timers.h"
#include "core/model/OperationGate.h"

#include <cstdint>

namespace deskpanel {

// The steps start-up takes, in the order StartupSequence runs them.
class StartupSteps {
public:
    virtual ~StartupSteps() = default;
    // While the window is still hidden: the recent files and the current directory.
    virtual void prepare() = 0;
    // First tick of timer 1:
    virtual void finalLayout() = 0;
    virtual void startLink() = 0;
    virtual void registerAssociation() = 0;
    // The project of the command line, or a new one; before the window first shows.
    virtual void openStartProject() = 0;
    // The stored placement: the view it names, maximised or not; the window shows.
    virtual void showWindow() = 0;
    // Timer 16: the defaults to every unit present by then.
    virtual void resetAllChannels() = 0;
};

// Start-up in its fixed order: prepare while hidden, then timer 1's single tick runs the
// rest and starts timers 8, 12 and 16.
class StartupSequence {
public:
    static constexpr std::uint32_t FirstTickMs = 100;
    static constexpr std::uint32_t RefreshMs = 1000;
    static constexpr std::uint32_t FirstResendMs = 500;
    static constexpr std::uint32_t ResetChannelsMs = 3000;

    static constexpr std::uint32_t GateRetryMs = 100;

    StartupSequence(Timers& timers, StartupSteps& steps);
    // The reset of timer 16 waits while another operation holds the gate; it is never
    // dropped.
    void setGate(OperationGate* gate) { m_gate = gate; }
    ~StartupSequence();
    StartupSequence(const StartupSequence&) = delete;
    StartupSequence& operator=(const StartupSequence&) = delete;

    void begin();
    bool hasShown() const { return m_shown; }

private:
    void firstTick();

    Timers& m_timers;
    StartupSteps& m_steps;
    OperationGate* m_gate = nullptr;
    bool m_shown = false;
};

} // namespace deskpanel
