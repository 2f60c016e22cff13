// DeskPanel's unit link against the simulated rack over real loopback UDP.
#include "app/DeskPanelApp.h"
#include "app/EventLogging.h"
#include "app/HostPortReport.h"
#include "core/model/Limits.h"
#include "tests/app/RackProcess.h"
#include "tests/support/RecordingMeterListener.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/dialogs/QtOperator.h"
#include "ui/views/UnitStatusWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace deskpanel;
using uitest::pumpFor;
using uitest::pumpUntil;

namespace {

// Closes the program's modal boxes as an operator would, so a test never waits on one.
class BoxCloser {
public:
    BoxCloser()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                if (auto* messageBox = qobject_cast<QMessageBox*>(box))
                    texts.push_back(messageBox->text());
                else if (auto* text = box->findChild<QLabel*>(QStringLiteral("text1012")))
                    texts.push_back(text->text()); // the program's own boxes
                box->close();
            }
        });
        m_timer.start(50);
    }
    QStringList texts;

private:
    QTimer m_timer;
};

using Rack = test::RackProcess;

// The program as main() puts it together (the window, the operator's boxes, the
// application) on ports of its own, with an operator who closes every box.
struct Shell {
    explicit Shell(int portOffset) : ports(test::freshPorts(portOffset)), app(ports, op)
    {
        app.addUnitStateListener([this](int unit, UnitState state) { boxes.setUnitState(unit, state); });
    }
    LinkPorts ports;
    BoxCloser closer;
    UnitStatusWindow boxes{6, 96};
    QtOperator op{&boxes};
    DeskPanelApp app;
};

int activeUnits(DeskPanelApp& app)
{
    int active = 0;
    for (int u = 1; u <= 48; ++u)
        active += app.link().state(u) == UnitState::ACTIVE ? 1 : 0;
    return active;
}

} // namespace

TEST(LoopbackRack, FortyEightUnitsAreDiscoveredAndASettingReachesTheRightInput)
{
    Shell shell(0);
    DeskPanelApp& app = shell.app;
    app.start();
    Rack rack(shell.ports, "127.0.1.1", {"--units", "48"});

    ASSERT_TRUE(pumpUntil([&] { return activeUnits(app) == 48; }, 15000)) << activeUnits(app) << " active";
    EXPECT_EQ(app.link().unitCount(), 48);
    EXPECT_EQ(shell.boxes.pictureOf(17), UnitPicture::Active);
    // Levels of processed packets reach the meters: the rack's levels move, never all -inf.
    test::RecordingMeterListener meters;
    app.metering().setListener(app.metering().shownView(), &meters);
    ASSERT_TRUE(pumpUntil(
        [&] {
            return std::any_of(meters.changes.begin(), meters.changes.end(),
                               [](const auto& change) { return change.channel == channelIndex(48, 8); });
        },
        3000));
    app.metering().setListener(app.metering().shownView(), nullptr);

    app.link().sendParameter("Gain", 44, 7, 3);
    app.link().sendParameter("Mute", 1, 7, 3);
    app.link().sendParameter("48v", 1, 30, 8);
    ASSERT_TRUE(rack.waitForReport(
        [](const Rack::Report& report) {
            return Rack::inputOf(report, 7, 3)["mute"].toInt() == 1 &&
                   Rack::inputOf(report, 30, 8)["phantom"].toInt() == 1;
        },
        5000));
    auto units = rack.finish();
    ASSERT_EQ(units.size(), 48u);
    const QJsonObject input = Rack::inputOf(units, 7, 3);
    EXPECT_EQ(input["gainDb"].toInt(), 44);
    EXPECT_EQ(input["mute"].toInt(), 1);
    EXPECT_EQ(Rack::inputOf(units, 7, 2)["gainDb"].toInt(), 8);
    EXPECT_EQ(Rack::inputOf(units, 6, 3)["gainDb"].toInt(), 8);
    EXPECT_EQ(Rack::inputOf(units, 30, 8)["phantom"].toInt(), 1);
    EXPECT_EQ(Rack::inputOf(units, 30, 8)["mute"].toInt(), 0);
    app.stop();
}

TEST(LoopbackRack, SilentUnitGoesOfflineAndIsTakenOnAgainWhenItSpeaks)
{
    Shell shell(1);
    DeskPanelApp& app = shell.app;
    app.start();
    // Unit 2 is silent from 1 s to 12 s after the rack starts.
    Rack rack(shell.ports, "127.0.2.1", {"--units", "3", "--silent", "2:1000:12000"});

    ASSERT_TRUE(pumpUntil([&] { return activeUnits(app) == 3; }, 5000));
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(2) == UnitState::OFFLINE; }, 12000));
    EXPECT_EQ(app.link().unitCount(), 2);
    EXPECT_EQ(shell.boxes.pictureOf(2), UnitPicture::Offline);
    EXPECT_TRUE(shell.closer.texts.contains("RP8 Unit 2 has gone off-line and will be de-activated"));
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(2) == UnitState::ACTIVE; }, 8000));
    EXPECT_EQ(app.link().unitCount(), 3);
    app.stop();
}

TEST(LoopbackRack, StopWhileTheRackFloodsThePortReturnsPromptly)
{
    auto shell = std::make_unique<Shell>(2);
    DeskPanelApp* app = &shell->app;
    app->start();
    Rack rack(shell->ports, "127.0.3.1", {"--units", "48"});
    pumpUntil([&] { return activeUnits(*app) >= 10; }, 5000);
    QElapsedTimer elapsed;
    elapsed.start();
    app->stop();
    shell.reset();
    EXPECT_LT(elapsed.elapsed(), 2000);
    // Hand-overs still queued for the destroyed application are ignored.
    pumpFor(200);
}

TEST(LoopbackRack, UnitChangingItsNumberTakesTheNewNumbersSettings)
{
    Shell shell(3);
    DeskPanelApp& app = shell.app;
    // The project's settings for unit 12, input 1; unit 12 is not on the network yet.
    app.project().live[channelIndex(12, 1)].gainPosition = 30; // 50 dB
    app.project().live[channelIndex(12, 1)].phantom48V = 1;
    app.start();
    Rack rack(shell.ports, "127.0.4.1", {"--units", "3", "--renumber", "3:12:1500"});
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(12) == UnitState::ACTIVE; }, 6000));
    EXPECT_EQ(app.link().state(3), UnitState::INACTIVE);
    EXPECT_EQ(app.link().unitCount(), 3);
    // The rack reports the unit by its first number.
    ASSERT_TRUE(rack.waitForReport(
        [](const Rack::Report& report) { return Rack::inputOf(report, 3, 1)["phantom"].toInt() == 1; }, 5000));
    auto units = rack.finish();
    const QJsonObject input = Rack::inputOf(units, 3, 1);
    EXPECT_EQ(input["gainDb"].toInt(), 50);
    EXPECT_EQ(input["phantom"].toInt(), 1);
    app.stop();
}

TEST(LoopbackRack, MisbehavingUnitsAreClassified)
{
    Shell shell(4);
    DeskPanelApp& app = shell.app;
    app.start();
    // 1 normal, 2 in front-panel mode, 3 with a low 24 V supply, 4 also sending with a
    // second MAC from its address, 5 reporting number 49, 6 the reduced-gain variant.
    Rack rack(shell.ports, "127.0.5.1",
              {"--units", "6", "--local", "2", "--abnormal", "3:24v", "--foreign-mac", "4", "--number", "5:49",
               "--reduced", "6"});
    ASSERT_TRUE(pumpUntil(
        [&] {
            return app.link().state(1) == UnitState::ACTIVE && app.link().state(3) == UnitState::FAULT &&
                   app.link().state(4) == UnitState::CONFLICT && app.link().reducedGainRange();
        },
        6000))
        << unitStateName(app.link().state(3)) << " " << unitStateName(app.link().state(4));
    EXPECT_EQ(app.link().state(2), UnitState::INACTIVE); // front-panel units are not taken on
    EXPECT_EQ(app.link().state(5), UnitState::INACTIVE);
    // The next poll tells the faulty unit so.
    app.link().fullResend();
    ASSERT_TRUE(rack.waitForReport(
        [](const Rack::Report& report) { return report.count(3) && report.at(3)["faultFlag"].toInt() == 1; }, 5000));
    auto units = rack.finish();
    EXPECT_EQ(units[3]["faultFlag"].toInt(), 1);
    EXPECT_EQ(units[1]["faultFlag"].toInt(), 0);
    app.stop();
}

namespace {

class RecordingPortListener : public HostPortListener {
public:
    void hostPortBusy(std::uint16_t port) override { events.push_back("busy " + std::to_string(port)); }
    void hostPortBound(std::uint16_t port, bool wasBusy) override
    {
        events.push_back("bound " + std::to_string(port) + (wasBusy ? " after busy" : ""));
    }
    std::vector<std::string> events;
};

// Another program's socket on the port, without SO_REUSEADDR (which the program's own
// socket sets, so that two of its kind would share the port).
int holdUdpPort(std::uint16_t port)
{
    const int holder = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    if (holder < 0 || ::bind(holder, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (holder >= 0)
            ::close(holder);
        return -1;
    }
    return holder;
}

} // namespace

// A host port held by another program: the bind box once, then quiet tries every 2 s;
// once the other program lets go the port is bound and units are taken on as at start-up.
TEST(LoopbackRack, BusyHostPortIsBoundOnceFreedAndUnitsAreTakenOn)
{
    Shell shell(5);
    DeskPanelApp& app = shell.app;
    app.project().live[channelIndex(1, 2)].gainPosition = 30; // 50 dB
    const int holder = holdUdpPort(shell.ports.hostPort);
    ASSERT_GE(holder, 0);
    RecordingPortListener listener;
    std::ostringstream standardError;
    HostPortReport report(standardError);
    app.link().addHostPortListener(&listener);
    app.link().addHostPortListener(&report);
    EventLogging events(app, {}, "test"); // the operator's record of the port
    const auto eventTexts = [&events] {
        std::vector<std::string> texts;
        for (const UnitEvent& event : events.log().eventsFrom(1)) // after the start
            texts.push_back(event.newState + " " + event.text);
        return texts;
    };
    const std::string port = std::to_string(shell.ports.hostPort);

    app.start(); // returns once the box has been closed
    EXPECT_EQ(shell.closer.texts, QStringList{QStringLiteral(" Error in bind")});
    // Tries while the port is still held say nothing.
    pumpFor(UnitLink::BindRetryMs + 500);
    EXPECT_EQ(shell.closer.texts.size(), 1);
    EXPECT_EQ(listener.events, std::vector<std::string>{"busy " + port});
    EXPECT_NE(standardError.str().find("host port " + port + " is busy"), std::string::npos) << standardError.str();

    ::close(holder);
    ASSERT_TRUE(pumpUntil([&] { return listener.events.size() == 2; }, UnitLink::BindRetryMs + 2000));
    EXPECT_EQ(listener.events.back(), "bound " + port + " after busy");
    EXPECT_NE(standardError.str().find("host port " + port + " bound at "), std::string::npos) << standardError.str();
    EXPECT_EQ(eventTexts(),
              (std::vector<std::string>{std::string(eventkind::PortBusy) + " host port " + port +
                                            " busy: held by another program",
                                        std::string(eventkind::PortBound) + " host port " + port + " bound"}));

    Rack rack(shell.ports, "127.0.6.1", {"--units", "2"});
    ASSERT_TRUE(pumpUntil([&] { return activeUnits(app) == 2; }, 5000));
    pumpFor(300);
    auto units = rack.finish();
    EXPECT_EQ(Rack::inputOf(units, 1, 2)["gainDb"].toInt(), 50);
    EXPECT_EQ(shell.closer.texts.size(), 1);
    app.link().removeHostPortListener(&report);
    app.link().removeHostPortListener(&listener);
    app.stop();
}

TEST(LoopbackRack, UnitsimRefusesBadOptionsWithAMessage)
{
    QProcess process;
    process.start(UNITSIM_PATH, {"--units", "99"});
    ASSERT_TRUE(process.waitForFinished(5000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().contains("bad value '99' for --units"));
}
