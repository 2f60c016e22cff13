// The unit identity check end to end: DeskPanel's dialog against the simulated rack over
// loopback UDP. The rack reports every 100 ms, so its reports show the switches of the
// checked unit going on and off and the settings that are restored afterwards.
#include "app/DeskPanelApp.h"
#include "core/model/Limits.h"
#include "tests/app/RackProcess.h"
#include "tests/ui/DialogTestRig.h"
#include "ui/dialogs/AppDialogTemplates.h"
#include "ui/dialogs/IdentityCheckDialog.h"

#include <QJsonObject>
#include <QTest>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace deskpanel;
using uitest::clickButton;
using uitest::pumpUntil;

namespace {

LinkPorts portsFor(int offset)
{
    const int base = 21000 + (static_cast<int>(::getpid()) % 400) * 20 + offset * 2;
    return LinkPorts{static_cast<std::uint16_t>(base), static_cast<std::uint16_t>(base + 1)};
}

using Rack = test::RackProcess;

// Input 1 of unit 1, report by report, oldest first.
std::vector<QJsonObject> firstInputOfUnit1(const std::vector<Rack::Report>& reports)
{
    std::vector<QJsonObject> inputs;
    for (const Rack::Report& report : reports)
        if (report.count(1))
            inputs.push_back(Rack::inputOf(report, 1, 1));
    return inputs;
}

// Unit 1's own settings back on input 1: 50 dB with 48 V, every other switch off. Never
// seen during the check, which sets all five switches to one value.
bool unit1Restored(const Rack::Report& report)
{
    const QJsonObject input = Rack::inputOf(report, 1, 1);
    return input["gainDb"].toInt() == 50 && input["phantom"].toInt() == 1 && input["pad"].toInt() == 0 &&
           input["mute"].toInt() == 0 && input["polarity"].toInt() == 0;
}

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
    Rack rack(ports, "127.0.6.1", {"--units", "2", "--silent", "2:0:2500"});
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(1) == UnitState::ACTIVE; }, 5000));
    ASSERT_EQ(app.link().state(2), UnitState::INACTIVE);

    IdentityCheckDialog dialog(app.link(), app.link(), app.channels(), app.project(), op);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_C, Qt::AltModifier);
    ASSERT_TRUE(dialog.isChecking());
    EXPECT_EQ(dialog.unitUnderCheck(), 1);
    ASSERT_TRUE(pumpUntil([&] { return !dialog.isChecking(); }, 13000));
    EXPECT_EQ(app.link().state(2), UnitState::ACTIVE) << "unit 2 was found during the check";
    ASSERT_TRUE(rack.waitForReport(unit1Restored, 5000));
    rack.finish();
    const std::vector<QJsonObject> reports = firstInputOfUnit1(rack.reports());
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
    Rack rack(ports, "127.0.7.1", {"--units", "1"});
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(1) == UnitState::ACTIVE; }, 5000));

    IdentityCheckDialog dialog(app.link(), app.link(), app.channels(), app.project(), op);
    dialog.show();
    clickButton(dialog, DialogControl::Check);
    // The check has run once the unit reports its pad switched on.
    ASSERT_TRUE(rack.waitForReport(
        [](const Rack::Report& report) { return Rack::inputOf(report, 1, 1)["pad"].toInt() == 1; }, 5000));
    ASSERT_TRUE(dialog.isChecking());
    clickButton(dialog, ControlId::Ok);
    EXPECT_FALSE(dialog.isChecking());
    EXPECT_TRUE(app.channels().isDialogJustClosedRaised());
    ASSERT_TRUE(rack.waitForReport(unit1Restored, 5000));
    rack.finish();
    const std::vector<QJsonObject> reports = firstInputOfUnit1(rack.reports());
    app.stop();
    ASSERT_FALSE(reports.empty());
    EXPECT_GE(changesOf(reports, "pad"), 1) << "the check ran";
    EXPECT_EQ(reports.back()["phantom"].toInt(), 1);
    EXPECT_EQ(reports.back()["pad"].toInt(), 0);
    EXPECT_EQ(reports.back()["gainDb"].toInt(), 50);
}
