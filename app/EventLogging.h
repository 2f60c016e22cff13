#pragma once
#include "app/QtWallClock.h"
#include "core/records/EventLog.h"
#include "core/records/UnitEventRecorder.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <string>

namespace deskpanel {

class DeskPanelApp;

// The unit event log of a running program: listens to the application's unit states and
// silences, folds and writes in the background, and tells the operator once when the
// file cannot be written. Logs the program's start when made and its exit at close().
class EventLogging {
public:
    static constexpr const char* FileName = "events.log";
    static constexpr int TickMs = 1000;

    // `path` empty: the events are kept in memory only.
    EventLogging(DeskPanelApp& app, const std::string& path, const std::string& version);
    ~EventLogging();
    EventLogging(const EventLogging&) = delete;
    EventLogging& operator=(const EventLogging&) = delete;

    // Logs the exit, writes open counts and waits for the writer.
    void close();

    EventLog& log() { return *m_log; }
    UnitEventRecorder& recorder() { return *m_recorder; }

private:
    DeskPanelApp& m_app;
    QtWallClock m_wall;
    QObject m_uiThread;
    std::unique_ptr<EventLog> m_log;
    std::unique_ptr<UnitEventRecorder> m_recorder;
    QTimer m_tick;
    int m_stateListener = 0;
    int m_silenceListener = 0;
    int m_noUnitListener = 0;
    bool m_closed = false;
};

} // namespace deskpanel
