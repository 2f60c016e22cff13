#include "app/StartupSequence.h"

namespace deskpanel {

StartupSequence::StartupSequence(Timers& timers, StartupSteps& steps) : m_timers(timers), m_steps(steps)
{
    m_timers.setHandler(TimerId::Startup, [this] {
        m_timers.stop(TimerId::Startup);
        firstTick();
    });
    m_timers.setHandler(TimerId::ResetChannels, [this] {
        if (m_gate && m_gate->isHeld()) {
            m_timers.start(TimerId::ResetChannels, GateRetryMs);
            return;
        }
        m_timers.stop(TimerId::ResetChannels);
        std::optional<OperationGate::Hold> hold;
        if (m_gate)
            hold = m_gate->enter("Reset after start");
        m_steps.resetAllChannels();
    });
}

StartupSequence::~StartupSequence()
{
    m_timers.clearHandler(TimerId::Startup);
    m_timers.clearHandler(TimerId::ResetChannels);
}

void StartupSequence::begin()
{
    m_steps.prepare();
    m_timers.start(TimerId::Startup, FirstTickMs);
}

void StartupSequence::firstTick()
{
    if (m_shown)
        return;
    m_steps.finalLayout();
    m_steps.startLink();
    m_steps.registerAssociation();
    m_steps.openStartProject();
    m_steps.showWindow();
    m_shown = true;
    m_timers.start(TimerId::Refresh, RefreshMs);
    m_timers.start(TimerId::FullResend, FirstResendMs);
    m_timers.start(TimerId::ResetChannels, ResetChannelsMs);
}

} // namespace deskpanel
