#pragma once
// The simulated rack as a child process, for the tests that run DeskPanel's link over
// real loopback UDP.
#include "app/DeskPanelApp.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>

#include <map>
#include <unistd.h>

namespace deskpanel::test {

// Ports no other test uses at the same time: each test program run picks its own.
inline LinkPorts freshPorts(int offset)
{
    const int base = 21000 + (static_cast<int>(::getpid()) % 400) * 20 + offset * 2;
    return LinkPorts{static_cast<std::uint16_t>(base), static_cast<std::uint16_t>(base + 1)};
}

class Rack {
public:
    Rack(const LinkPorts& ports, const QString& firstAddress, QStringList extra)
    {
        QStringList args{"--host-port",     QString::number(ports.hostPort),
                         "--unit-port",     QString::number(ports.unitPort),
                         "--first-address", firstAddress};
        args += extra;
        m_process.start(UNITSIM_PATH, args);
        m_process.waitForStarted();
    }
    ~Rack()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // Stops the rack and returns its final report, one object per unit number.
    std::map<int, QJsonObject> finish()
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        std::map<int, QJsonObject> units;
        for (const QByteArray& line : m_process.readAllStandardOutput().split('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            if (object.contains("unit"))
                units[object["unit"].toInt()] = object;
        }
        return units;
    }
    // What one input (1..8) of a unit was last set to, from a final report.
    static QJsonObject inputOf(const std::map<int, QJsonObject>& units, int unit, int input)
    {
        const auto found = units.find(unit);
        return found == units.end() ? QJsonObject() : found->second["inputs"].toArray()[input - 1].toObject();
    }

private:
    QProcess m_process;
};

} // namespace deskpanel::test
