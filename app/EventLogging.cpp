#include "app/EventLogging.h"

#include "app/DeskPanelApp.h"

#include <QMetaObject>

namespace deskpanel {

EventLogging::EventLogging(DeskPanelApp& app, const std::string& path, const std::string& version) : m_app(app)
{
    auto file = path.empty() ? nullptr : std::make_unique<EventLogFile>(path);
    // The writer's thread reports; the operator is told on the UI thread, once.
    auto report = [this](const std::string& message) {
        QMetaObject::invokeMethod(
            &m_uiThread, [this, message] { m_app.operatorPort().message(message); }, Qt::QueuedConnection);
    };
    m_log = std::make_unique<EventLog>(app.clock(), m_wall, std::move(file), report);
    m_recorder = std::make_unique<UnitEventRecorder>(app.link(), app.clock(), m_wall, *m_log);
    m_stateListener = app.addUnitStateListener(
        [this](int unitNumber, UnitState state) { m_recorder->stateChanged(unitNumber, state); });
    m_silenceListener = app.addUnitSilenceListener(
        [this](int unitNumber, std::uint32_t lastHeardMs) { m_recorder->unitGoneSilent(unitNumber, lastHeardMs); });
    app.link().addHostPortListener(m_recorder.get());
    m_noUnitListener = app.noUnitHeard().addListener([this](const std::string& notice) {
        if (!notice.empty())
            m_recorder->noUnitHeard(notice);
    });
    QObject::connect(&m_tick, &QTimer::timeout, [this] { m_log->tick(); });
    m_tick.start(TickMs);
    m_recorder->programStarted(version);
}

EventLogging::~EventLogging()
{
    close();
}

void EventLogging::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_tick.stop();
    m_app.removeUnitStateListener(m_stateListener);
    m_app.removeUnitSilenceListener(m_silenceListener);
    m_app.link().removeHostPortListener(m_recorder.get());
    m_app.noUnitHeard().removeListener(m_noUnitListener);
    m_recorder->programEnding();
    m_log->close();
}

} // namespace deskpanel
