#pragma once
#include "app/AppLinkEvents.h"
#include "app/QtTimers.h"
#include "core/host/Clock.h"
#include "core/model/ChannelControl.h"
#include "core/model/Metering.h"
#include "core/model/Project.h"
#include "core/model/SceneTracker.h"
#include "core/unitlink/UdpTransport.h"
#include "core/unitlink/UnitLink.h"

#include <QObject>

#include <memory>

namespace deskpanel {

// The UDP ports of the unit link; tests choose free ones.
struct LinkPorts {
    std::uint16_t hostPort = UnitLink::DefaultHostPort;
    std::uint16_t unitPort = UnitLink::DefaultUnitPort;
};

// The application: owns the one project, the unit link and the model's operations, wires
// them together and starts and stops them in order. The windows attach to it; it speaks to
// the operator through the Operator port.
class DeskPanelApp {
public:
    DeskPanelApp(LinkPorts ports, Operator& op);
    ~DeskPanelApp();

    void start();
    void stop();

    Project& project() { return m_project; }
    UnitLink& link() { return *m_link; }
    Metering& metering() { return m_metering; }
    ChannelControl& channels() { return *m_channels; }
    UdpTransport& transport() { return m_transport; }
    // Called on the UI thread whenever a unit number's state changes.
    void setUnitStateListener(std::function<void(int unitNumber, UnitState state)> listener);

private:
    Project m_project;
    SteadyClock m_clock;
    QtTimers m_timers;
    Metering m_metering{m_project.prefs, m_timers};
    Operator& m_operator;
    UdpTransport m_transport;
    std::unique_ptr<AppLinkEvents> m_events;
    std::unique_ptr<UnitLink> m_link;
    struct NoScenes : SceneTracker {
        void markActiveSceneModified() override {}
        void updateFollowedScene() override {}
    } m_scenes;
    std::unique_ptr<ChannelControl> m_channels;
    QObject m_uiThreadContext;
    bool m_started = false;
};

} // namespace deskpanel
