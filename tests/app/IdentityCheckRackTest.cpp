// The unit identity check end to end: DeskPanel's dialog against the simulated rack over
// loopback UDP. The rack reports every 100 ms, so its reports show the switches of the
// checked unit going on and off and the settings that are restored afterwards.
#include "app/DeskPanelApp.h"
#include "core/model/Limits.h"
#include "tests/ui/DialogTestRig.h"
#include "ui/dialogs/AppDialogTemplates.h"
#include "ui/dialogs/IdentityCheckDialog.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace deskpanel;
using uitest::clickButton;
using uitest::pumpFor;
using uitest::pumpUntil;

namespace {

LinkPorts portsFor(int offset)
{
    const int base = 21000 + (static_cast<int>(::getpid()) % 400) * 20 + offset * 2;
    return LinkPorts{static_cast<std::uint16_t>(base), static_cast<std::uint16_t>(base + 1)};
}

// The rack as a child process; its reports are read when it has stopped.
class ReportingRack {
public:
    ReportingRack(const LinkPorts& ports, const QString& firstAddress, const QStringList& extra)
    {
        m_process.start(UNITSIM_PATH, QStringList{"--host-port", QString::number(ports.hostPort), "--unit-port",
                                                  QString::number(ports.unitPort), "--first-address", firstAddress,
                                                  "--report-every", "100"} +
                                          extra);
        m_process.waitForStarted();
    }
    ~ReportingRack()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // Every report of input `input` of unit `unit`, oldest first, the final one last.
    std::vector<QJsonObject> finish(int unit, int input)
    {
        m_process.terminate();
        m_process.waitForFinished(5000);
        std::vector<QJsonObject> reports;
        for (const QByteArray& line : m_process.readAllStandardOutput().split('\n')) {
            const QJsonObject object = QJsonDocument::fromJson(line).object();
            if (object["unit"].toInt() == unit)
                reports.push_back(object["inputs"].toArray()[input - 1].toObject());
        }
        return reports;
    }

private:
    QProcess m_process;
};

int changesOf(const std::vector<QJsonObject>& reports, const char* field)
{
    int changes = 0;
    for (std::size_t i = 1; i < reports.size(); ++i)
        changes += reports[i][field].toInt() != reports[i - 1][field].toInt() ? 1 : 0;
    return changes;
}

// Unit 1 input 1: 50 dB with 48 V; unit 2 input 1: 20 dB, padded and muted.
void prepareSettings(Project& project)
{
    ChannelSettings& first = project.live[channelIndex(1, 1)];
    first.gainPosition = 30;
    first.phantom48V = 1;
    ChannelSettings& second = project.live[channelIndex(2, 1)];
    second.gainPosition = 60;
    second.pad = 1;
    second.mute = 1;
}

} // namespace

TEST(IdentityCheckRack, SwitchesToggleForTenSecondsAndTheUnitsOwnSettingsComeBack)
{
    const LinkPorts ports = portsFor(5);
    test::ScriptedOperator op;
    DeskPanelApp app(ports, op);
    prepareSettings(app.project());
    app.start();
    // Unit 2 stays silent for its first 2.5 s, so it is found while unit 1 is checked.
    ReportingRack rack(ports, "127.0.6.1", {"--units", "2", "--silent", "2:0:2500"});
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(1) == UnitState::ACTIVE; }, 5000));
    ASSERT_EQ(app.link().state(2), UnitState::INACTIVE);

    IdentityCheckDialog dialog(app.link(), app.link(), app.channels(), app.project(), op);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
    ASSERT_TRUE(dialog.isChecking());
    EXPECT_EQ(dialog.unitUnderCheck(), 1);
    ASSERT_TRUE(pumpUntil([&] { return !dialog.isChecking(); }, 13000));
    EXPECT_EQ(app.link().state(2), UnitState::ACTIVE) << "unit 2 was found during the check";
    pumpFor(400);
    const std::vector<QJsonObject> reports = rack.finish(1, 1);
    app.stop();

    ASSERT_GT(reports.size(), 60u);
    // Every 500 ms for 10 s: about 20 changes of each switch, seen in 100 ms reports.
    for (const char* field : {"phantom", "mute", "pad", "polarity", "link"}) {
        EXPECT_GE(changesOf(reports, field), 12) << field;
        EXPECT_LE(changesOf(reports, field), 24) << field;
    }
    // Restored from the check's own copy: unit 1's settings, not unit 2's.
    const QJsonObject last = reports.back();
    EXPECT_EQ(last["gainDb"].toInt(), 50);
    EXPECT_EQ(last["phantom"].toInt(), 1);
    EXPECT_EQ(last["pad"].toInt(), 0);
    EXPECT_EQ(last["mute"].toInt(), 0);
    EXPECT_EQ(last["polarity"].toInt(), 0);
    const ChannelSettings& live = app.project().live[channelIndex(1, 1)];
    EXPECT_EQ(live.gainPosition, 30);
    EXPECT_EQ(live.pad, 0);
    EXPECT_EQ(app.project().live[channelIndex(2, 1)].pad, 1);
}

TEST(IdentityCheckRack, OkDuringTheCheckRestoresAtOnce)
{
    const LinkPorts ports = portsFor(6);
    test::ScriptedOperator op;
    DeskPanelApp app(ports, op);
    prepareSettings(app.project());
    app.start();
    ReportingRack rack(ports, "127.0.7.1", {"--units", "1"});
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(1) == UnitState::ACTIVE; }, 5000));

    IdentityCheckDialog dialog(app.link(), app.link(), app.channels(), app.project(), op);
    dialog.show();
    clickButton(dialog, DialogControl::Check);
    pumpFor(1300);
    clickButton(dialog, ControlId::Ok);
    EXPECT_FALSE(dialog.isChecking());
    EXPECT_TRUE(app.channels().isDialogJustClosedRaised());
    pumpFor(400);
    const std::vector<QJsonObject> reports = rack.finish(1, 1);
    app.stop();
    ASSERT_FALSE(reports.empty());
    EXPECT_GE(changesOf(reports, "pad"), 1) << "the check ran";
    EXPECT_EQ(reports.back()["phantom"].toInt(), 1);
    EXPECT_EQ(reports.back()["pad"].toInt(), 0);
    EXPECT_EQ(reports.back()["gainDb"].toInt(), 50);
}
