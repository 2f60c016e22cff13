#pragma once
#include "app/DeskPanelApp.h"
#include "tests/ui/UiTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <functional>
#include <map>
#include <unistd.h>
#include <vector>

namespace deskpanel::test {

// Ports no other test uses at the same time: each test program run picks its own.
inline LinkPorts freshPorts(int offset)
{
    // Each test process has its own 40 ports, two for each offset 0..19.
    const int base = 21000 + (static_cast<int>(::getpid()) % 400) * 40 + offset * 2;
    return LinkPorts{static_cast<std::uint16_t>(base), static_cast<std::uint16_t>(base + 1)};
}

// The simulated rack as a child process on loopback. It reports its units' state every
// 100 ms; the reports are read as they come, so a test waits for the content it expects
// instead of for a fixed time.
class RackProcess {
public:
    // One report: the state of each unit, by the number it reports.
    using Report = std::map<int, QJsonObject>;

    RackProcess(const LinkPorts& ports, const QString& firstAddress, const QStringList& extra)
    {
        m_process.start(UNITSIM_PATH, QStringList{"--host-port", QString::number(ports.hostPort), "--unit-port",
                                                  QString::number(ports.unitPort), "--first-address", firstAddress,
                                                  "--report-every", "100"} +
                                          extra);
        m_process.waitForStarted();
    }
    ~RackProcess()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    RackProcess(const RackProcess&) = delete;
    RackProcess& operator=(const RackProcess&) = delete;

    // Runs the event loop until a report satisfies `done`; false when `limitMs` passed first.
    bool waitForReport(const std::function<bool(const Report&)>& done, int limitMs)
    {
        return uitest::pumpUntil(
            [&] {
                readReports();
                return !m_reports.empty() && done(m_reports.back());
            },
            limitMs);
    }
    // Stops the rack; its last report (written at exit) is the final state.
    Report finish()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        readReports();
        return m_reports.empty() ? Report() : m_reports.back();
    }
    // Every complete report so far, oldest first.
    const std::vector<Report>& reports() const { return m_reports; }

    // What one input (1..8) of a unit was last set to in a report.
    static QJsonObject inputOf(const Report& report, int unit, int input)
    {
        const auto found = report.find(unit);
        return found == report.end() ? QJsonObject() : found->second["inputs"].toArray()[input - 1].toObject();
    }

private:
    // A report is complete with its summary line.
    void readReports()
    {
        m_pending += m_process.readAllStandardOutput();
        for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(m_pending.left(end)).object();
            m_pending.remove(0, end + 1);
            if (object.contains("unit")) {
                m_partial[object["unit"].toInt()] = object;
            } else if (object.contains("summary")) {
                m_reports.push_back(std::move(m_partial));
                m_partial.clear();
            }
        }
    }

    QProcess m_process;
    QByteArray m_pending;
    Report m_partial;
    std::vector<Report> m_reports;
};

} // namespace deskpanel::test
