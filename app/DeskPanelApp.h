#pragma once
#include "app/AppLinkEvents.h"
#include "app/HostPortReport.h"
#include "app/QtTimers.h"
#include "core/host/Clock.h"
#include "core/host/NamingDialogs.h"
#include "core/model/ChannelControl.h"
#include "core/model/MeterSimulation.h"
#include "core/model/Metering.h"
#include "core/model/Project.h"
#include "core/model/RandomSource.h"
#include "core/model/SceneOperations.h"
#include "core/model/SceneTracker.h"
#include "core/unitlink/NoUnitHeardNotice.h"
#include "core/unitlink/UdpTransport.h"
#include "core/unitlink/UnitLink.h"

#include <QObject>

#include <memory>
#include <utility>
#include <vector>

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
    // The line that says no unit has been heard since the host port was bound.
    NoUnitHeardNotice& noUnitHeard() { return *m_noUnitHeard; }
    Metering& metering() { return m_metering; }
    ChannelControl& channels() { return *m_channels; }
    UdpTransport& transport() { return m_transport; }
    SceneOperations& scenes() { return *m_sceneOps; }
    Timers& timers() { return m_timers; }
    Operator& operatorPort() { return m_operator; }
    // The simulated meter display (timer 2): on or off for this run only, never stored.
    void setSimulatedPeaks(bool on);
    bool simulatedPeaks() const { return m_simulation.isRunning(); }
    // The naming dialogs the scene operations ask (none: every question is answered Cancel).
    void setSceneNaming(SceneNamingDialogs* naming) { m_naming.target = naming; }
    // The Save As command that storing a scene of an unnamed project offers.
    void setSaveAsCommand(std::function<void()> saveAs) { m_saveAs = std::move(saveAs); }
    // Each listener is called on the UI thread whenever a unit number's state changes, in
    // the order they were added. The answer identifies the listener for removal.
    using UnitStateListener = std::function<void(int unitNumber, UnitState state)>;
    int addUnitStateListener(UnitStateListener listener);
    void removeUnitStateListener(int id);
    // Each listener is called on the UI thread when the off-line check finds a unit
    // silent, before the off-line message: the unit number and when it was last heard
    // (the clock() time). The answer identifies the listener for removal.
    using UnitSilenceListener = std::function<void(int unitNumber, std::uint32_t lastHeardMs)>;
    int addUnitSilenceListener(UnitSilenceListener listener);
    void removeUnitSilenceListener(int id);
    // Called on the UI thread for each blink step of a unit in LOCAL mode.
    void setUnitBlinkListener(std::function<void(int unitNumber, UnitPicture picture)> listener)
    {
        m_events->onBlink = std::move(listener);
    }
    const Clock& clock() const { return m_clock; }

private:
    void tellUnitState(int unitNumber);
    Project m_project;
    SteadyClock m_clock;
    QtTimers m_timers;
    Metering m_metering{m_project.prefs, m_timers};
    Operator& m_operator;
    SeededRandomSource m_random;
    MeterSimulation m_simulation{m_project.prefs, m_timers, m_metering, m_random};
    UdpTransport m_transport;
    std::unique_ptr<AppLinkEvents> m_events;
    HostPortReport m_portReport;
    std::vector<std::pair<int, UnitStateListener>> m_unitStateListeners;
    std::vector<std::pair<int, UnitSilenceListener>> m_unitSilenceListeners;
    int m_nextUnitStateListener = 1;
    std::unique_ptr<UnitLink> m_link;
    std::unique_ptr<NoUnitHeardNotice> m_noUnitHeard;
    // The channel control and the scene operations need each other; the channel control
    // reaches the scene operations through this relay, which exists before both.
    struct SceneRelay : SceneTracker {
        SceneTracker* target = nullptr;
        void markActiveSceneModified() override
        {
            if (target)
                target->markActiveSceneModified();
        }
        void updateFollowedScene() override
        {
            if (target)
                target->updateFollowedScene();
        }
        void restoreLiveState(const LiveState& state) override
        {
            if (target)
                target->restoreLiveState(state);
        }
        bool isSceneLocked() const override { return target && target->isSceneLocked(); }
    } m_sceneRelay;
    struct NamingRelay : SceneNamingDialogs {
        SceneNamingDialogs* target = nullptr;
        std::optional<NameAndNotes> askNewScene(const NameAndNotes& initial) override
        {
            return target ? target->askNewScene(initial) : std::nullopt;
        }
        std::optional<NameAndNotes> askRenameScene(const std::string& heading, const NameAndNotes& initial) override
        {
            return target ? target->askRenameScene(heading, initial) : std::nullopt;
        }
    } m_naming;
    std::function<void()> m_saveAs;
    std::unique_ptr<ChannelControl> m_channels;
    std::unique_ptr<SceneOperations> m_sceneOps;
    QObject m_uiThreadContext;
    bool m_started = false;
};

} // namespace deskpanel
