// A held fader against what the channel really has and against a release it never gets;
// meters that nothing feeds any more.
#include "tests/ui/StripViewFixture.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ScrollBar.h"
#include "ui/main/StripScroller.h"
#include "ui/views/OverviewWindow.h"
#include "ui/views/UnderviewWindow.h"

#include <QMouseEvent>
#include <QSignalSpy>

namespace deskpanel::test {
namespace {

using Part = UnderviewLayout::ChannelPart;

class HeldFaderTest : public StripViewFixture {
protected:
    void SetUp() override
    {
        window.resize(1100, 900);
        window.setAttribute(Qt::WA_DontShowOnScreen);
        underview.setGeometry(0, 0, 1012, 501);
        overview.setGeometry(0, 0, OverviewWindow::TotalWidth, 672);
        window.show();
        strips.showOverview(false);
    }

    static QPoint thumbMiddle(GainFader* fader)
    {
        return {fader->width() / 2, fader->thumbTop() + fader->thumbHeight() / 2};
    }
    // A move of the pointer `dy` pixels from where the thumb was grabbed, the left button held.
    static void moveHeld(GainFader* fader, QPoint grab, int dy, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseEvent(QTest::MouseMove, fader, Qt::NoButton, modifiers, grab + QPoint(0, dy));
    }
    static void send(QWidget* to, QEvent::Type type)
    {
        QEvent event(type);
        QApplication::sendEvent(to, &event);
    }
    void hoverWithoutButton(GainFader* fader, QPoint at)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(fader->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                         {});
        QApplication::sendEvent(fader, &move);
    }
    QImage shot() { return underview.grab().toImage(); }

    QWidget window;
    UnderviewWindow underview{app, dialogs, &window};
    OverviewWindow overview{app, dialogs, &window};
    StripScroller strips{app, underview, overview, nullptr, nullptr, &window};
};

// After every move and on release the dragged fader shows the channel's stored
// position, whether the move was limited by its group, dropped after a dialog closed or
// refused while the identity check holds the strips.
TEST_F(HeldFaderTest, DraggedFaderShowsTheStoredPosition)
{
    live(0).gainPosition = 20;
    live(1).gainPosition = 40;
    linkChannels(1, {0, 1});
    live(5).gainPosition = 30;
    live(6).gainPosition = 30;
    underview.refreshFromModel();
    overview.refreshFromModel();

    struct Case {
        const char* name;
        int channel;
        std::function<void()> before;
        int dy; // 25 px = 10 positions
        int stored;
    };
    const Case cases[] = {
        // Channel 1 would pass 72: the request is lowered to 20 - 40 + 72 = 52.
        {"linked move limited", 0, [] {}, 100, 52},
        {"move dropped after a dialog closed", 5, [this] { app.channels().raiseDialogJustClosed(); }, 25, 30},
        {"move refused while the strips are held", 6, [this] { app.channels().setStripsHeld(true); }, 25, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GainFader* fader = underview.fader(c.channel);
        const QPoint grab = thumbMiddle(fader);
        QTest::mousePress(fader, Qt::LeftButton, {}, grab);
        c.before();
        moveHeld(fader, grab, c.dy);
        EXPECT_EQ(live(c.channel).gainPosition, c.stored);
        EXPECT_EQ(fader->position(), c.stored);
        QTest::mouseRelease(fader, Qt::LeftButton, {}, grab + QPoint(0, c.dy));
        EXPECT_EQ(fader->position(), c.stored);
        EXPECT_EQ(overview.fader(c.channel)->position(), c.stored);
        app.channels().setStripsHeld(false);
    }
}

// A release the fader never gets (a box took it, the window lost the pointer, the button
// came up elsewhere) ends the drag as a release would: hovering later changes nothing,
// an Alt-drag's unlink ends, and the views scroll again. A held fader keeps the overview
// from scrolling; a scroll bar's arrow repeat stops the same way.
TEST_F(HeldFaderTest, LostReleaseEndsTheDrag)
{
    struct Case {
        const char* name;
        std::function<void(GainFader*, QPoint)> lose;
    };
    const Case cases[] = {
        {"box opened over the window", [this](GainFader*, QPoint) { send(&window, QEvent::WindowBlocked); }},
        {"window lost the pointer", [this](GainFader*, QPoint) { send(&window, QEvent::WindowDeactivate); }},
        {"move without the button", [this](GainFader* f, QPoint at) { hoverWithoutButton(f, at + QPoint(0, 5)); }},
    };
    strips.showOverview(true);
    linkChannels(2, {10, 11});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        live(10).gainPosition = 30;
        overview.refreshFromModel();
        strips.setOverviewPosition(0);
        GainFader* fader = overview.fader(10);
        const QPoint grab = thumbMiddle(fader);
        QTest::mousePress(fader, Qt::LeftButton, {}, grab);
        moveHeld(fader, grab, 5, Qt::AltModifier);
        const int held = live(10).gainPosition;
        ASSERT_NE(held, 30);
        ASSERT_TRUE(app.channels().isTemporaryUnlinkPending());
        strips.scrollOverview(ScrollBar::LineDown);
        EXPECT_EQ(strips.overviewPosition(), 0); // not while the fader is held

        c.lose(fader, grab);
        EXPECT_FALSE(fader->isDragging());
        EXPECT_FALSE(GainFader::isAnyActive());
        EXPECT_FALSE(app.channels().isDragInProgress());
        hoverWithoutButton(fader, grab + QPoint(0, 20));
        EXPECT_EQ(live(10).gainPosition, held);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !app.channels().isTemporaryUnlinkPending(); }, 3000));
        EXPECT_EQ(live(10).linkButton, 1);
        strips.scrollOverview(ScrollBar::LineDown);
        EXPECT_EQ(strips.overviewPosition(), StripScroller::OverviewLine);
        send(&window, QEvent::WindowUnblocked);
    }

    ScrollBar* bar = ScrollBar::create(ScrollBar::Vertical, &window, QRect(1050, 0, 20, 300), 1031);
    ASSERT_NE(bar, nullptr);
    bar->setScrollRange(0, 100);
    bar->show();
    QSignalSpy steps(bar, &ScrollBar::scrolled);
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return steps.size() >= 1; }, 2000)); // the repeat runs
    send(&window, QEvent::WindowBlocked);
    const int stepsWhenBlocked = int(steps.size());
    QTest::qWait(400); // the repeat would have stepped at least twice by now
    EXPECT_EQ(steps.size(), stepsWhenBlocked);
    send(&window, QEvent::WindowUnblocked);
}

} // namespace

// Meters fed by a unit that went off-line, local, was renumbered away or removed, and
// every meter when the simulation stops, are cleared at once in both views: empty, no
// held mark, no "Ovr", a blank readout.
class SilentMeterTest : public HeldFaderTest {
protected:
    void packet(int unit, int mac, std::uint8_t mode = 1, std::uint16_t level = 0x0116) // +22 dB
    {
        UnitPacketFields fields;
        fields.unitNumber = static_cast<std::uint8_t>(unit);
        fields.mac = macOf(mac);
        fields.mode = mode;
        fields.levelWords.fill(level);
        const PacketBytes bytes = unitPacket(fields);
        app.link().handleDatagram(bytes.data(), bytes.size(),
                                  Ipv4Endpoint{(127u << 24) | static_cast<std::uint32_t>(mac), 40000});
    }
    // A unit known and reading over on all its inputs, in both views.
    void overReading(int unit, int mac)
    {
        for (MeterView view : {MeterView::Overview, MeterView::Underview}) {
            app.metering().setShownView(view);
            packet(unit, mac);
            packet(unit, mac);
        }
        ASSERT_EQ(app.metering().meter(MeterView::Underview, (unit - 1) * 8).peakReadout, OverReadout);
    }
    void expectCleared(int unit)
    {
        SCOPED_TRACE(unit);
        for (int c = (unit - 1) * 8; c < unit * 8; ++c)
            for (MeterView view : {MeterView::Overview, MeterView::Underview}) {
                const MeterState& m = app.metering().meter(view, c);
                EXPECT_EQ(m.heightPx, 0) << c;
                EXPECT_EQ(m.heldHeightPx, 0) << c;
                EXPECT_EQ(m.peakReadout, 0) << c;
                EXPECT_EQ(m.position.segment, EmptyMeterSegment) << c;
            }
        // Nothing of the reading is left on screen: no bar, no mark, no readout.
        underview.setScrollOffset((unit - 1) * 672);
        const QRect meter = underview.channelRect(Part::RangeAndPeak, (unit - 1) * 8);
        ASSERT_TRUE(QRect(0, 0, underview.width(), underview.height()).contains(meter));
        const QImage image = shot();
        EXPECT_EQ(countPixels(image, meter.adjusted(2, 27, -2, 0), isLit), 0);
        const QRect readout(meter.left() + 2, meter.top() + 2, meter.width() - 4, 10);
        EXPECT_EQ(countPixels(image, readout, [](const QColor& c) { return c.blue() > 100 || c.red() > 150; }), 0);
    }
};

TEST_F(SilentMeterTest, MetersNothingFeedsAreClearedAtOnce)
{
    struct Case {
        const char* name;
        std::function<void()> feed;
        std::function<void()> silence;
        std::vector<int> silentUnits;
    };
    const Case cases[] = {
        {"unit in front-panel mode", [this] { overReading(1, 1); }, [this] { packet(1, 1, 0); }, {1}},
        // The unit with MAC 2 now reports number 3: number 2 falls silent.
        {"unit renumbered away", [this] { overReading(2, 2); }, [this] { packet(3, 2); }, {2}},
        // MAC 4 claims number 1, held by MAC 1: MAC 1's record is removed, and MAC 4's
        // old number falls silent.
        {"unit removed by a conflict",
         [this] {
             overReading(1, 1);
             overReading(4, 4);
         },
         [this] { packet(1, 4); },
         {1, 4}},
        {"simulation switched off",
         [this] {
             app.setSimulatedPeaks(true);
             ASSERT_TRUE(
                 QTest::qWaitFor([this] { return app.metering().meter(MeterView::Underview, 40).heightPx > 0; }, 3000));
         },
         [this] { app.setSimulatedPeaks(false); },
         {5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.feed();
        app.metering().setShownView(MeterView::Underview);
        c.silence();
        for (int unit : c.silentUnits)
            expectCleared(unit);
    }
}

} // namespace deskpanel::test
