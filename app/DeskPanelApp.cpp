#include "app/DeskPanelApp.h"

#include <QMetaObject>

#include <iostream>

namespace deskpanel {

DeskPanelApp::DeskPanelApp(LinkPorts ports, Operator& op)
    : m_operator(op),
      m_random(m_clock.nowMs()),
      m_transport(
          [this](std::function<void()> work) {
              QMetaObject::invokeMethod(&m_uiThreadContext, std::move(work), Qt::QueuedConnection);
          },
          ports.hostPort),
      m_portReport(std::cerr)
{
    m_events = std::make_unique<AppLinkEvents>(m_metering);
    m_link = std::make_unique<UnitLink>(m_clock, m_timers, m_operator, m_transport, *m_events, m_project.prefs,
                                        ports.unitPort);
    m_channels = std::make_unique<ChannelControl>(m_project, *m_link, m_timers, m_sceneRelay);
    m_sceneOps = std::make_unique<SceneOperations>(m_project, *m_channels, m_operator, m_timers, m_naming, [this] {
        if (m_saveAs)
            m_saveAs();
    });
    m_sceneRelay.target = m_sceneOps.get();
    m_channels->setClock(&m_clock);
    // The 48 V guard asks through the program's own boxes.
    m_channels->setOperator(&m_operator);
    m_events->attach(*m_channels);
    m_events->onStateChanged = [this](int unitNumber) { tellUnitState(unitNumber); };
    // A unit that stops sending levels, or whose levels are not used (LOCAL), must not
    // leave its last reading standing as if it were live signal.
    addUnitStateListener([this](int unitNumber, UnitState state) {
        if (state == UnitState::OFFLINE || state == UnitState::INACTIVE || state == UnitState::LOCAL)
            m_metering.clearUnit(unitNumber);
    });
    m_link->addHostPortListener(&m_portReport);
    m_noUnitHeard = std::make_unique<NoUnitHeardNotice>(*m_link, m_timers);
    m_link->addHostPortListener(m_noUnitHeard.get());
    m_events->onSilent = [this](int unitNumber, std::uint32_t lastHeardMs) {
        const auto listeners = m_unitSilenceListeners; // a copy, as for the states
        for (const auto& [id, listener] : listeners)
            if (listener)
                listener(unitNumber, lastHeardMs);
    };
}

int DeskPanelApp::addUnitSilenceListener(UnitSilenceListener listener)
{
    const int id = m_nextUnitStateListener++;
    m_unitSilenceListeners.emplace_back(id, std::move(listener));
    return id;
}

void DeskPanelApp::removeUnitSilenceListener(int id)
{
    std::erase_if(m_unitSilenceListeners, [id](const auto& entry) { return entry.first == id; });
}

int DeskPanelApp::addUnitStateListener(UnitStateListener listener)
{
    const int id = m_nextUnitStateListener++;
    m_unitStateListeners.emplace_back(id, std::move(listener));
    return id;
}

void DeskPanelApp::removeUnitStateListener(int id)
{
    std::erase_if(m_unitStateListeners, [id](const auto& entry) { return entry.first == id; });
}

void DeskPanelApp::tellUnitState(int unitNumber)
{
    const UnitState state = m_link->state(unitNumber);
    // A copy: a listener may open a box (timers and datagrams run inside it) or remove one.
    const auto listeners = m_unitStateListeners;
    for (const auto& [id, listener] : listeners)
        if (listener)
            listener(unitNumber, state);
}

void DeskPanelApp::setSimulatedPeaks(bool on)
{
    if (on) {
        m_simulation.start();
    } else if (m_simulation.isRunning()) {
        m_simulation.stop();
        m_metering.clearAll(); // units present refill theirs with their next packets
    }
}

DeskPanelApp::~DeskPanelApp()
{
    stop();
    m_link->removeHostPortListener(m_noUnitHeard.get());
}

void DeskPanelApp::start()
{
    if (m_started)
        return;
    m_started = true;
    m_link->start(m_transport);
}

void DeskPanelApp::stop()
{
    if (!m_started)
        return;
    m_started = false;
    m_link->stop();
    m_noUnitHeard->stop();
}

} // namespace deskpanel
