// The bitmap controls under simulated mouse input: picture buttons, LED switches and
// the fader.
#include "ui/controls/ControlErrors.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/GlassButton.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/ToggleButton.h"

#include "tests/ui/UiTestSupport.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace deskpanel;

namespace {

// Lamp of a scene button face, the same place in every face.
QColor lamp(PictureButton& b)
{
    const int shift = b.state() == PictureButton::Pressed ? 1 : 0;
    return uitest::render(b).pixelColor(9 + shift, 12 + shift);
}

TEST(CustomGUIButton, OverviewButtonLooksPressedExactlyWhileTheOverviewIsShown)
{
    QWidget window;
    window.resize(200, 100);
    bool overviewShown = false;
    auto* overview =
        PictureButton::create(&window, PictureButton::OverviewId, "174", "175", "175", QRect(10, 10, 69, 23));
    ASSERT_NE(overview, nullptr);
    overview->setOverviewShownQuery([&] { return overviewShown; });
    QSignalSpy clicks(overview, &PictureButton::clicked);
    // The command switches the view; here the test plays the main window.
    QObject::connect(overview, &PictureButton::clicked, [&] { overviewShown = !overviewShown; });
    window.show();

    EXPECT_FALSE(uitest::isReddish(lamp(*overview)));
    QTest::mouseClick(overview, Qt::LeftButton);
    EXPECT_TRUE(overviewShown);
    EXPECT_EQ(overview->state(), 1) << "release does not spring the Overview button back";
    EXPECT_TRUE(uitest::isReddish(lamp(*overview)));

    // Pressing it while the Overview is shown paints it normal again.
    QTest::mouseClick(overview, Qt::LeftButton);
    EXPECT_FALSE(overviewShown);
    EXPECT_EQ(overview->state(), 0);
    EXPECT_FALSE(uitest::isReddish(lamp(*overview)));
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(clicks.at(0).at(0).toInt(), 1004);
}

TEST(CustomGUIButton, LockLatchesAndOthersSpringBackOnRelease)
{
    QWidget window;
    auto* lock = PictureButton::create(&window, PictureButton::LockId, "178", "179", "179", QRect(0, 0, 60, 23));
    auto* fresh = PictureButton::create(&window, PictureButton::NewId, "180", "182", "139", QRect(0, 30, 69, 23));
    window.show();
    QTest::mouseClick(lock, Qt::LeftButton);
    EXPECT_EQ(lock->state(), 1);
    QTest::mousePress(fresh, Qt::LeftButton);
    EXPECT_EQ(fresh->state(), 1);
    EXPECT_TRUE(uitest::isReddish(lamp(*fresh)));
    QTest::mouseRelease(fresh, Qt::LeftButton);
    EXPECT_EQ(fresh->state(), 0);
    // Disabled look.
    fresh->setState(PictureButton::Disabled);
    EXPECT_EQ(fresh->state(), 5);
    EXPECT_FALSE(uitest::isReddish(lamp(*fresh)));
    fresh->setState(3); // not a state of this button
    EXPECT_EQ(fresh->state(), 5);
    // A disabled button takes no clicks.
    QSignalSpy clicks(fresh, &PictureButton::clicked);
    QTest::mouseClick(fresh, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(fresh->state(), 5);
    fresh->setState(PictureButton::Normal);
    QTest::mouseClick(fresh, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(CustomGUIButton, SpringsBackByTimerWhenTheReleaseIsLost)
{
    QWidget window;
    auto* recall = PictureButton::create(&window, PictureButton::RecallId, "183", "187", "141", QRect(0, 0, 69, 23));
    auto* fresh = PictureButton::create(&window, PictureButton::NewId, "180", "182", "139", QRect(0, 30, 69, 23));
    window.show();
    EXPECT_EQ(recall->springBackMs(), 500);
    EXPECT_EQ(fresh->springBackMs(), 2000);
    QElapsedTimer clock;
    clock.start();
    QTest::mousePress(recall, Qt::LeftButton);
    QTest::mousePress(fresh, Qt::LeftButton);
    EXPECT_EQ(recall->state(), 1);
    EXPECT_EQ(fresh->state(), 1);
    // The releases never come: each button springs back after its own time and not
    // before (a coarse timer may end up to 5 % early, and the clock read a moment late).
    EXPECT_GE(uitest::elapsedWhen(
                  clock, [&] { return recall->state() == 0; }, 5000),
              450);
    EXPECT_GE(uitest::elapsedWhen(
                  clock, [&] { return fresh->state() == 0; }, 8000),
              1800)
        << "New holds its look for 2 s";
}

TEST(CustomControls, CreationFailuresAreReported)
{
    QStringList reported;
    ControlErrors::Handler old = ControlErrors::setHandler([&](const QString& t) { reported << t; });
    QWidget parent;
    EXPECT_EQ(GlassButton::create(nullptr, 1050, "162", "&OK", QRect(0, 0, 10, 10)), nullptr);
    EXPECT_EQ(GlassButton::create(&parent, 1050, "162", "&OK", QRect()), nullptr);
    EXPECT_EQ(PictureButton::create(nullptr, 1004, "174", "175", "175", QRect(0, 0, 10, 10)), nullptr);
    ControlErrors::setHandler(std::move(old));
    EXPECT_EQ(reported, QStringList({"ERROR - failed to create CCustomButton", "ERROR - failed to create CCustomButton",
                                     "ERROR - failed to create CCustomGUIButton"}));
}

// Four Mute switches in a row and a handler that plays channel control: the reported
// channel's switch takes the reported value.
struct MuteRow {
    QWidget strip;
    std::vector<ToggleButton*> mutes;
    std::vector<std::tuple<int, int, int>> reports;

    MuteRow()
    {
        strip.resize(200, 40);
        for (int c = 0; c < 4; ++c) {
            auto* b = ToggleButton::create(&strip, 7000, c, "247", "248", QRect(4 + c * 40, 8, 36, 24));
            mutes.push_back(b);
            QObject::connect(b, &ToggleButton::switchCommand, [this](int channel, int kind, int value) {
                reports.emplace_back(channel, kind, value);
                mutes[std::size_t(channel)]->setState(value);
            });
        }
        // A Pad switch under the row: another kind.
        auto* pad = ToggleButton::create(&strip, 5000, 9, "238", "241", QRect(4, 34, 35, 5));
        QObject::connect(pad, &ToggleButton::switchCommand,
                         [this](int channel, int kind, int value) { reports.emplace_back(channel, kind, value); });
        strip.show();
    }
};

TEST(ToggleButton, DragAcrossSwitchesOfOneKindPaintsTheFirstOnesNewState)
{
    MuteRow row;
    row.mutes[2]->setState(1); // one already on: the drag still switches everything on
    ToggleButton* first = row.mutes[0];
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(18, 12));
    // The pressed switch keeps the pointer; it moves over its neighbours.
    for (int x = 18; x <= 3 * 40 + 18; x += 6)
        QTest::mouseMove(first, QPoint(x, 12));
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(3 * 40 + 18, 12));
    for (ToggleButton* b : row.mutes)
        EXPECT_EQ(b->state(), 1) << b->channel();
    ASSERT_EQ(row.reports.size(), 4u) << "each channel once";
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(row.reports[std::size_t(c)], std::make_tuple(c, 7, 1));
    // The look follows the state.
    EXPECT_TRUE(uitest::isReddish(uitest::render(*row.mutes[3]).pixelColor(9, 12)));
}

TEST(ToggleButton, DragDoesNotCrossIntoAnotherKind)
{
    MuteRow row;
    ToggleButton* first = row.mutes[1];
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(18, 12));
    EXPECT_EQ(first->state(), 1);
    QTest::mouseMove(first, QPoint(-30, 28)); // over the Pad switch
    QTest::mouseMove(first, QPoint(18, 12)); // back onto itself
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(18, 12));
    ASSERT_EQ(row.reports.size(), 1u);
    // A move after the release paints nothing.
    QTest::mouseMove(first, QPoint(58, 12));
    EXPECT_EQ(row.reports.size(), 1u);
    EXPECT_EQ(row.mutes[2]->state(), 0);
    EXPECT_EQ(first->kind(), ToggleButton::Mute);
}

struct Fader {
    QWidget strip;
    GainFader* slider = nullptr;
    std::vector<std::pair<int, bool>> moves;
    int grabs = 0;
    int releases = 0;
    bool reduced = false;

    Fader()
    {
        strip.resize(60, 300);
        // The underview fader: 32 x 234 with a 54-pixel thumb, 180 pixels of travel.
        slider = GainFader::create(&strip, QRect(6, 20, 32, 234), 5, "133", "132");
        slider->setReducedRangeQuery([this] { return reduced; });
        QObject::connect(slider, &GainFader::moved, [this](int, int p, bool alt) { moves.emplace_back(p, alt); });
        QObject::connect(slider, &GainFader::grabbed, [this](int) { ++grabs; });
        QObject::connect(slider, &GainFader::released, [this](int) { ++releases; });
        strip.show();
    }
};

TEST(GainSlider, GrabOnTheThumbOnly)
{
    Fader f;
    EXPECT_EQ(f.slider->position(), 72);
    EXPECT_EQ(f.slider->thumbTop(), 180);
    // A click on the track above the thumb does nothing at all.
    QTest::mousePress(f.slider, Qt::LeftButton, {}, QPoint(16, 40));
    QTest::mouseMove(f.slider, QPoint(16, 60));
    QTest::mouseRelease(f.slider, Qt::LeftButton, {}, QPoint(16, 60));
    EXPECT_EQ(f.slider->position(), 72);
    EXPECT_EQ(f.grabs, 0);
    EXPECT_TRUE(f.moves.empty());
    EXPECT_FALSE(GainFader::isAnyActive());
}

TEST(GainSlider, DragFollowsThePointerAndKeepsTheLastPositionOutside)
{
    Fader f;
    f.slider->setPosition(36);
    EXPECT_EQ(f.slider->thumbTop(), 90);
    QTest::mousePress(f.slider, Qt::LeftButton, {}, QPoint(16, 100)); // 10 below the thumb top
    EXPECT_EQ(f.grabs, 1);
    EXPECT_TRUE(GainFader::isAnyActive());
    QTest::mouseMove(f.slider, QPoint(16, 60)); // thumb top 50: trunc(50 x 72 / 180) = 20
    EXPECT_EQ(f.slider->position(), 20);
    QTest::mouseMove(f.slider, QPoint(16, -5)); // above the control: ignored
    QTest::mouseMove(f.slider, QPoint(16, 240)); // below it: ignored
    EXPECT_EQ(f.slider->position(), 20);
    QTest::mouseEvent(QTest::MouseMove, f.slider, Qt::NoButton, Qt::AltModifier, QPoint(16, 234)); // the bottom edge
    EXPECT_EQ(f.slider->position(), 72);
    QTest::mouseRelease(f.slider, Qt::LeftButton, {}, QPoint(16, 234));
    EXPECT_FALSE(GainFader::isAnyActive());
    EXPECT_EQ(f.releases, 1);
    ASSERT_EQ(f.moves.size(), 2u);
    EXPECT_EQ(f.moves[0], std::make_pair(20, false));
    EXPECT_EQ(f.moves[1].first, 72);
    // Alt held with the move is reported with it.
    EXPECT_TRUE(f.moves[1].second);
}

TEST(GainSlider, ReducedRangeFloorAndLimits)
{
    Fader f;
    f.reduced = true;
    QTest::mousePress(f.slider, Qt::LeftButton, {}, QPoint(16, 200));
    QTest::mouseMove(f.slider, QPoint(16, 20)); // to the very top
    EXPECT_EQ(f.slider->position(), 11);
    f.reduced = false;
    QTest::mouseMove(f.slider, QPoint(16, 21));
    EXPECT_EQ(f.slider->position(), 0);
    QTest::mouseRelease(f.slider, Qt::LeftButton, {}, QPoint(16, 21));
    f.slider->setPosition(500);
    EXPECT_EQ(f.slider->position(), 72);
    f.slider->setPosition(-3);
    EXPECT_EQ(f.slider->position(), 0);
    EXPECT_EQ(f.slider->thumbTop(), 0);
}

TEST(GainSlider, PaintsTheThumbWhereThePositionPutsIt)
{
    Fader f;
    f.slider->setPosition(0);
    QImage img = uitest::render(*f.slider);
    // The cap's black index line runs across its middle (27 of 54).
    // (x 4 lies beside the fader's black groove.)
    EXPECT_EQ(img.pixelColor(4, 27), QColor(Qt::black));
    f.slider->setPosition(72);
    img = uitest::render(*f.slider);
    EXPECT_EQ(img.pixelColor(4, 180 + 27), QColor(Qt::black));
    EXPECT_NE(img.pixelColor(4, 27), QColor(Qt::black));
}

TEST(GainSlider, HidingMidDragLetsGo)
{
    Fader f;
    QTest::mousePress(f.slider, Qt::LeftButton, {}, QPoint(16, 200));
    EXPECT_TRUE(GainFader::isAnyActive());
    f.slider->hide();
    EXPECT_FALSE(GainFader::isAnyActive());
    EXPECT_EQ(f.releases, 1);
}

} // namespace
