#include "ui/views/UnderviewWindow.h"
#include "tests/ui/StripViewFixture.h"
#include "ui/controls/FontMapper.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/ToggleButton.h"
#include "ui/controls/artwork/Artwork.h"
#include "ui/views/OverviewWindow.h"
#include "ui/views/RepaintQueue.h"
#include "ui/views/UnderviewPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTest>

namespace deskpanel::test {
namespace {

using Part = UnderviewLayout::ChannelPart;

class UnderviewTest : public StripViewFixture {
protected:
    void SetUp() override
    {
        view.resize(1012, 501);
        view.setAttribute(Qt::WA_DontShowOnScreen);
        view.show();
    }
    QImage shot() { return view.grab().toImage(); }

    void click(QPoint at, Qt::MouseButton button) { clickAt(view, at, button); }

    UnderviewWindow view{app, dialogs};
};

// The canvas leaves a fader's area to the fader: an area repainted alone must come out
// as in the whole view, with nothing left of what was there before.
TEST_F(UnderviewTest, AFaderAreaRepaintedAloneLooksAsInTheWholeView)
{
    GainFader* fader = view.fader(3);
    fader->setPosition(40);
    const QRect area(fader->mapTo(&view, QPoint()), fader->size());
    const QImage whole = shot();
    QImage alone(whole.size(), whole.format());
    // A thumb's area inside the fader, then the whole fader, each on its own.
    for (const QRect& part : {area.adjusted(2, 10, -2, -area.height() / 2), area}) {
        alone.fill(Qt::magenta);
        view.render(&alone, part.topLeft(), QRegion(part));
        EXPECT_EQ(alone.copy(part), whole.copy(part));
    }
}

TEST_F(UnderviewTest, LastStripAtTheRightEndShowsItsNumberAboveAndBelow)
{
    view.setScrollOffset(UnderviewWindow::MaxScroll);
    const int stripLeft = 47 * 672 + 7 * 82 - UnderviewWindow::MaxScroll; // 914
    EXPECT_EQ(view.channelRect(Part::TopNumber, 383).topLeft(), QPoint(stripLeft + 6, 38));
    EXPECT_EQ(view.unitRect(UnderviewLayout::UnitPart::RightVertcialEdge, 47), QRect(998, 0, 15, 476));
    EXPECT_EQ(view.toggle(383, ToggleButton::Pol)->mapTo(&view, QPoint()), QPoint(stripLeft + 8, 77));
    EXPECT_EQ(view.fader(383)->mapTo(&view, QPoint()), QPoint(stripLeft + 6, 127));

    const QImage image = shot();
    struct Field {
        Part part;
        int tenths;
    };
    for (const Field& field : {Field{Part::TopNumber, 150}, Field{Part::BottomNumber, 130}}) {
        const QRect r = view.channelRect(field.part, 383);
        const auto [first, last] = columnSpan(image, r, isNumberWhite);
        const QFontMetrics metrics(FontMapper::font(QStringLiteral("Arial Black"), field.tenths, 400));
        EXPECT_NEAR(last - first + 1, metrics.tightBoundingRect(QStringLiteral("384")).width(), 2);
        EXPECT_NEAR((first + last) / 2.0, r.center().x(), 2.0); // centred
    }
}

TEST_F(UnderviewTest, PeakAtTheTopDrawsAFullBarAndOvrInRed)
{
    app.metering().setLevel(0, 30); // above the top of dBFS -18
    const QImage image = shot();
    const QRect meter = view.channelRect(Part::RangeAndPeak, 0);
    EXPECT_GT(countPixels(image, QRect(meter.left(), meter.top() + 1, meter.width(), 12), isOverRed), 10);
    // 20 segments of 8.35 pixels: the bar is 167 pixels high.
    const int x = meter.center().x();
    EXPECT_TRUE(isLit(image.pixelColor(x, meter.top() + 202 - 167 + 2)));
    EXPECT_FALSE(isLit(image.pixelColor(x, meter.top() + 202 - 167 - 4))); // above the held mark

    app.metering().setLevel(1, 13); // dBFS -18: 13 dB reads -9, in blue
    const QRect other = view.channelRect(Part::RangeAndPeak, 1);
    EXPECT_EQ(countPixels(shot(), QRect(other.left(), other.top() + 1, other.width(), 12), isOverRed), 0);
}

TEST_F(UnderviewTest, ChannelNamesAreCutToTwelveCharactersInBothRepaints)
{
    auto name = [&](int c) -> std::string& { return app.project().channels[static_cast<std::size_t>(c)].name; };
    name(0) = "ABCDEFGHIJKLMNOPQRST";
    name(1) = "ABCDEFGHIJKL";
    name(2) = "ABCDEFGHIJK";
    app.channels().notifyAllChannelsChanged();
    QImage image = shot();
    auto field = [&](const QImage& from, int c) { return from.copy(view.channelRect(Part::ChannelScribble, c)); };
    EXPECT_EQ(field(image, 0), field(image, 1));
    EXPECT_NE(field(image, 2), field(image, 1));

    // The repaint of one name field cuts the same way.
    name(3) = "ABCDEFGHIJKLMNOPQ";
    app.channels().notifyChannelChanged(3, ChannelAspect::Name);
    image = shot();
    EXPECT_EQ(field(image, 3), field(image, 1));
}

TEST_F(UnderviewTest, SwitchingToDbu18ShowsItsScalePicture)
{
    const QRect scale = view.channelRect(Part::LittleDB, 5);
    // The fader covers the scale's left edge; the rest is the picture's.
    const int covered = view.channelRect(Part::Fader, 5).right() + 1 - scale.left();
    const QRect uncovered = QRect(QPoint(covered, 0), scale.size()).adjusted(0, 0, -covered, 0);
    auto expected = [&](int id) {
        QImage ref(scale.size(), QImage::Format_ARGB32_Premultiplied);
        ref.fill(UnderviewPainter::Background);
        QPainter p(&ref);
        p.drawPixmap(0, 0, ImageRegistry::instance().pixmap(ImageRegistry::key(id), 1.0, scale.size()));
        p.end();
        return ref.convertToFormat(QImage::Format_RGB32).copy(uncovered);
    };
    auto shown = [&] { return shot().copy(scale).convertToFormat(QImage::Format_RGB32).copy(uncovered); };
    EXPECT_EQ(differingPixels(shown(), expected(149)), 0);
    ASSERT_GT(differingPixels(expected(149), expected(155)), 100); // the two pictures tell apart

    ProjectPrefs& prefs = app.project().prefs;
    prefs.meterScaleDbu = 1;
    prefs.meterScaleDbfs = 0;
    prefs.dbuMaxLevelIndex = 1;
    prefs.dbuMaxLevel = 18;
    app.channels().notifyMeterPreferencesChanged();
    EXPECT_EQ(differingPixels(shown(), expected(155)), 0);
}

TEST_F(UnderviewTest, SwitchClicksReachTheChannelControl)
{
    struct Case {
        int kind;
        std::int32_t ChannelSettings::*field;
    };
    const Case cases[] = {{ToggleButton::Pol, &ChannelSettings::polarity},
                          {ToggleButton::Pad, &ChannelSettings::pad},
                          {ToggleButton::Phantom, &ChannelSettings::phantom48V},
                          {ToggleButton::Mute, &ChannelSettings::mute},
                          {ToggleButton::Link, &ChannelSettings::linkButton}};
    for (const Case& c : cases) {
        ToggleButton* button = view.toggle(9, c.kind);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(live(9).*c.field, 1) << c.kind;
        EXPECT_EQ(app.channels().currentChannel(), 9);
        EXPECT_EQ(button->state(), 1);
    }
    // A change made elsewhere (Undo of the Link switch) shows on the switch.
    app.channels().undo();
    EXPECT_EQ(live(9).linkButton, 0);
    EXPECT_EQ(view.toggle(9, ToggleButton::Link)->state(), 0);
}

TEST_F(UnderviewTest, AltDragMovesOnlyTheHeldChannelOfAGroup)
{
    live(0).gainPosition = 20;
    live(1).gainPosition = 40;
    linkChannels(1, {0, 1});
    view.refreshFromModel();

    dragFader(view.fader(0), 25, Qt::AltModifier); // 25 px = 10 positions
    EXPECT_EQ(live(0).gainPosition, 30);
    EXPECT_EQ(live(1).gainPosition, 40);
    EXPECT_EQ(view.fader(0)->position(), 30);

    // The temporary unlink ends shortly after the drag.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !app.channels().isTemporaryUnlinkPending(); }, 5000));
    dragFader(view.fader(0), 25, Qt::NoModifier);
    EXPECT_EQ(live(0).gainPosition, 40);
    EXPECT_EQ(live(1).gainPosition, 50);
    EXPECT_EQ(view.fader(1)->position(), 50);
}

TEST_F(UnderviewTest, ClicksOnDrawnFieldsOpenWhatTheyStandFor)
{
    click(view.unitRect(UnderviewLayout::UnitPart::UnitName, 0).center(), Qt::RightButton);
    click(view.channelRect(Part::RangeAndPeak, 2).center(), Qt::RightButton);
    click(view.channelRect(Part::RightEdge, 2).center(), Qt::RightButton); // between strips: nothing
    EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"unitName 1", "meterPreferences"}));

    click(view.channelRect(Part::SetLink, 6).center(), Qt::LeftButton);
    EXPECT_EQ(app.channels().currentChannel(), 6);
    click(view.channelRect(Part::ChannelScribble, 4).center(), Qt::RightButton);
    EXPECT_EQ(app.channels().currentChannel(), 4);

    app.metering().setLevel(3, 0);
    click(view.channelRect(Part::RangeAndPeak, 3).topLeft() + QPoint(5, 5), Qt::LeftButton);
    EXPECT_TRUE(app.metering().meter(MeterView::Underview, 3).resetMarkShown);
    EXPECT_EQ(app.metering().meter(MeterView::Underview, 3).peakReadout, 0);
    // The reset mark stands in the readout box, 1 pixel in and 2 down.
    const QRect mark(view.channelRect(Part::RangeAndPeak, 3).topLeft() + QPoint(1, 3), QSize(18, 11));
    QImage expected(mark.size(), QImage::Format_RGB32);
    expected.fill(Qt::black);
    QPainter p(&expected);
    p.drawPixmap(0, 0, ImageRegistry::instance().pixmap(ImageRegistry::key(226)));
    p.end();
    EXPECT_EQ(differingPixels(shot().copy(mark).convertToFormat(QImage::Format_RGB32), expected), 0);
}

TEST_F(UnderviewTest, SceneRecallShowsTheScenesNamesAndSwitches)
{
    Scene scene;
    scene.name = "Matinee";
    scene.settings = app.project().live;
    scene.settings[2].polarity = 1;
    scene.channelNames[2] = "Choir Left";
    scene.channelNames[3] = "Choir Right";
    ASSERT_TRUE(app.project().scenes.append(scene));
    const QImage before = shot().copy(view.channelRect(Part::ChannelScribble, 2));

    app.scenes().recallScene(1);
    EXPECT_EQ(view.toggle(2, ToggleButton::Pol)->state(), 1);
    const QImage image = shot();
    EXPECT_NE(image.copy(view.channelRect(Part::ChannelScribble, 2)), before);
    EXPECT_NE(image.copy(view.channelRect(Part::ChannelScribble, 2)),
              image.copy(view.channelRect(Part::ChannelScribble, 3)));
}

TEST_F(UnderviewTest, OnlyVisibleMetersWaitForTheRepaintTimer)
{
    app.metering().setLevel(383, 0); // far to the right, out of sight
    EXPECT_FALSE(view.repaintQueue().isTimerRunning());
    app.metering().setLevel(1, 0);
    EXPECT_TRUE(view.repaintQueue().isTimerRunning());
    EXPECT_EQ(view.repaintQueue().pendingCount(), 1);
    // The timer fires within a frame; a loaded machine may take longer.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !view.repaintQueue().isTimerRunning(); }, 5000));
    EXPECT_EQ(view.repaintQueue().pendingCount(), 0);
    // The same reading again leaves the meter's picture as it is: nothing to repaint.
    app.metering().setLevel(1, 0);
    EXPECT_FALSE(view.repaintQueue().isTimerRunning());

    view.hide();
    app.metering().setLevel(1, 3);
    EXPECT_FALSE(view.repaintQueue().isTimerRunning());
}

// Without its thumb picture a view still comes up, after telling the operator.
TEST_F(StripViewFixture, MissingFaderThumbIsReportedAndTheViewStillComesUp)
{
    ImageRegistry& images = ImageRegistry::instance();
    images.remove(QStringLiteral("132"));
    images.remove(QStringLiteral("135"));
    {
        UnderviewWindow under(app, dialogs);
        OverviewWindow over(app, dialogs);
        EXPECT_NE(under.fader(0), nullptr);
        EXPECT_NE(over.fader(0), nullptr);
    }
    artwork::registerAll(images);
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::Message),
              (std::vector<std::string>{"ERROR - failed to Load thumb bitmap", "ERROR - failed to Load thumb bitmap"}));
}

} // namespace
} // namespace deskpanel::test
