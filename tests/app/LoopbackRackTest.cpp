// DeskPanel's unit link against the simulated rack over real loopback UDP.
#include "app/DeskPanelApp.h"
#include "ui/views/UnitListWindow.h"

#include <QApplication>
#include <QLabel>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QMessageBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace deskpanel;

namespace {

// Ports no other test uses at the same time: each test program run picks its own.
LinkPorts freshPorts(int offset)
{
    const int base = 21000 + (static_cast<int>(::getpid()) % 400) * 20 + offset * 2;
    return LinkPorts{static_cast<std::uint16_t>(base), static_cast<std::uint16_t>(base + 1)};
}

bool pumpUntil(const std::function<bool()>& done, int limitMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        if (elapsed.elapsed() > limitMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

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

class Rack {
public:
    Rack(const LinkPorts& ports, const QString& firstAddress, QStringList extra)
    {
        QStringList args{"--host-port", QString::number(ports.hostPort), "--unit-port", QString::number(ports.unitPort),
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

private:
    QProcess m_process;
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
    BoxCloser closer;
    const LinkPorts ports = freshPorts(0);
    DeskPanelApp app(ports);
    app.start();
    Rack rack(ports, "127.0.1.1", {"--units", "48"});

    ASSERT_TRUE(pumpUntil([&] { return activeUnits(app) == 48; }, 15000)) << activeUnits(app) << " active";
    EXPECT_EQ(app.link().unitCount(), 48);
    EXPECT_EQ(app.window().unitText(17), "Unit 17: ACTIVE");

    app.link().sendParameter("Gain", 44, 7, 3);
    app.link().sendParameter("Mute", 1, 7, 3);
    app.link().sendParameter("48v", 1, 30, 8);
    // Let the datagrams arrive before the rack reports.
    pumpUntil([] { return false; }, 300);
    auto units = rack.finish();
    ASSERT_EQ(units.size(), 48u);
    const QJsonObject input = units[7]["inputs"].toArray()[2].toObject();
    EXPECT_EQ(input["gainDb"].toInt(), 44);
    EXPECT_EQ(input["mute"].toInt(), 1);
    EXPECT_EQ(units[7]["inputs"].toArray()[1].toObject()["gainDb"].toInt(), 8);
    EXPECT_EQ(units[6]["inputs"].toArray()[2].toObject()["gainDb"].toInt(), 8);
    EXPECT_EQ(units[30]["inputs"].toArray()[7].toObject()["phantom"].toInt(), 1);
    EXPECT_EQ(units[30]["inputs"].toArray()[7].toObject()["mute"].toInt(), 0);
    app.stop();
}

TEST(LoopbackRack, SilentUnitGoesOfflineAndIsTakenOnAgainWhenItSpeaks)
{
    BoxCloser closer;
    const LinkPorts ports = freshPorts(1);
    DeskPanelApp app(ports);
    app.start();
    // Unit 2 is silent from 1 s to 12 s after the rack starts.
    Rack rack(ports, "127.0.2.1", {"--units", "3", "--silent", "2:1000:12000"});

    ASSERT_TRUE(pumpUntil([&] { return activeUnits(app) == 3; }, 5000));
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(2) == UnitState::OFFLINE; }, 12000));
    EXPECT_EQ(app.link().unitCount(), 2);
    EXPECT_EQ(app.window().unitText(2), "Unit 2: OFFLINE");
    EXPECT_TRUE(closer.texts.contains("RP8 Unit 2 has gone off-line and will be de-activated"));
    ASSERT_TRUE(pumpUntil([&] { return app.link().state(2) == UnitState::ACTIVE; }, 8000));
    EXPECT_EQ(app.link().unitCount(), 3);
    app.stop();
}

TEST(LoopbackRack, StopWhileTheRackFloodsThePortReturnsPromptly)
{
    BoxCloser closer;
    const LinkPorts ports = freshPorts(2);
    auto app = std::make_unique<DeskPanelApp>(ports);
    app->start();
    Rack rack(ports, "127.0.3.1", {"--units", "48"});
    pumpUntil([&] { return activeUnits(*app) >= 10; }, 5000);
    QElapsedTimer elapsed;
    elapsed.start();
    app->stop();
    app.reset();
    EXPECT_LT(elapsed.elapsed(), 2000);
    // Hand-overs still queued for the destroyed application are ignored.
    pumpUntil([] { return false; }, 200);
}
