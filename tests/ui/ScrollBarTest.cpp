// The bitmap scroll bar: geometry, arrows held down, track pages, thumb drags, hover.
#include "ui/controls/ScrollBar.h"
#include "ui/controls/DragTracker.h"

#include "tests/ui/UiTestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace deskpanel;

namespace {

using Report = std::pair<int, int>; // code, position

std::vector<Report> reports(const QSignalSpy& spy)
{
    std::vector<Report> out;
    for (const QList<QVariant>& args : spy)
        out.emplace_back(args.at(0).toInt(), args.at(1).toInt());
    return out;
}

struct Bar {
    QWidget window;
    ScrollBar* bar = nullptr;

    explicit Bar(int style = 0, QRect rect = QRect(0, 0, 400, 20))
    {
        window.resize(500, 500);
        bar = ScrollBar::create(style, &window, rect, 1030);
        window.show();
    }
};

TEST(ScrollBar, RangeIsTheDistanceBetweenTheLimits)
{
    Bar b;
    b.bar->setScrollRange(0, -3);
    EXPECT_EQ(b.bar->range(), 3);
    b.bar->setScrollRange(10, 4);
    EXPECT_EQ(b.bar->range(), 6);
    b.bar->setScrollRange(INT_MIN, INT_MAX); // does not overflow
    EXPECT_GT(b.bar->range(), 0);
}

TEST(ScrollBar, Geometry)
{
    Bar b;
    EXPECT_EQ(b.bar->arrowLength(), 20);
    EXPECT_EQ(b.bar->thumbLength(), 153);
    EXPECT_EQ(b.bar->trackTravel(), 400 - 40 - 153);
    b.bar->setScrollRange(0, 0);
    b.bar->setScrollPos(0);
    EXPECT_EQ(b.bar->thumbStart(), 20) << "range 0 puts the thumb at the start of the track";
    b.bar->setScrollRange(0, 100);
    b.bar->setScrollPos(50);
    EXPECT_EQ(b.bar->thumbStart(), 50 * 207 / 100 + 20);
    b.bar->setScrollPos(100);
    EXPECT_EQ(b.bar->thumbStart(), 227);

    Bar v(ScrollBar::Vertical, QRect(0, 0, 20, 300));
    EXPECT_TRUE(v.bar->isVertical());
    EXPECT_EQ(v.bar->thumbLength(), 41) << "the vertical thumb takes the size of 223";
    EXPECT_EQ(v.bar->trackTravel(), 300 - 40 - 41);
}

TEST(ScrollBar, KeepsItsPositionWhenTheRangeChanges)
{
    Bar b;
    b.bar->setScrollRange(0, 100);
    b.bar->setScrollPos(80);
    b.bar->setScrollRange(0, 10);
    EXPECT_EQ(b.bar->scrollPos(), 80);
    EXPECT_EQ(b.bar->thumbStart(), 227) << "the thumb stays inside the track";
    b.bar->setScrollPos(-5);
    EXPECT_EQ(b.bar->scrollPos(), 0);
}

TEST(ScrollBar, HeldArrowRepeatsAndStopsAtTheEnd)
{
    Bar b;
    b.bar->setScrollRange(0, 10);
    b.bar->setScrollPos(9);
    QSignalSpy spy(b.bar, &ScrollBar::scrolled);
    QElapsedTimer clock;
    clock.start();
    QTest::mousePress(b.bar, Qt::LeftButton, {}, QPoint(390, 10));
    // Nothing before the 150 ms delay (a timer may end up to 5 % early).
    EXPECT_GE(uitest::elapsedWhen(
                  clock, [&] { return spy.count() >= 1; }, 3000),
              142);
    QTRY_VERIFY_WITH_TIMEOUT(spy.count() >= 3, 2000);
    QTest::mouseRelease(b.bar, Qt::LeftButton, {}, QPoint(390, 10));
    const std::vector<Report> got = reports(spy);
    for (const Report& r : got)
        EXPECT_EQ(r, Report(ScrollBar::LineRight, 10));
    EXPECT_EQ(b.bar->scrollPos(), 10);
    // The repeat has stopped with the release.
    const int count = spy.count();
    QTest::qWait(250);
    EXPECT_EQ(spy.count(), count);
}

TEST(ScrollBar, ArrowClickStepsOnceOnRelease)
{
    Bar b;
    b.bar->setScrollRange(0, 10);
    b.bar->setScrollPos(5);
    QSignalSpy spy(b.bar, &ScrollBar::scrolled);
    QTest::mouseClick(b.bar, Qt::LeftButton, {}, QPoint(5, 10));
    EXPECT_EQ(reports(spy), std::vector<Report>({{ScrollBar::LineLeft, 4}}));
    // Pressed on the arrow, released elsewhere: no extra step, no repeat afterwards.
    QTest::mousePress(b.bar, Qt::LeftButton, {}, QPoint(5, 10));
    QTest::mouseRelease(b.bar, Qt::LeftButton, {}, QPoint(100, 10));
    QTest::qWait(300);
    EXPECT_EQ(spy.count(), 1);
}

TEST(ScrollBar, TrackClickPagesWithTheNewPosition)
{
    Bar b;
    b.bar->setScrollRange(0, 100);
    QSignalSpy spy(b.bar, &ScrollBar::scrolled);
    // Thumb at 20..173; a click at 300 centres it there: start 224, position 98.
    QTest::mouseClick(b.bar, Qt::LeftButton, {}, QPoint(300, 10));
    QTest::mouseClick(b.bar, Qt::LeftButton, {}, QPoint(50, 10));
    EXPECT_EQ(reports(spy), std::vector<Report>({{ScrollBar::PageRight, 98}, {ScrollBar::PageLeft, 0}}));
}

TEST(ScrollBar, ThumbDragReportsTracking)
{
    Bar b;
    b.bar->setScrollRange(0, 100);
    QSignalSpy spy(b.bar, &ScrollBar::scrolled);
    QTest::mousePress(b.bar, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_TRUE(b.bar->isDragging());
    QTest::mouseMove(b.bar, QPoint(200, 10)); // start 124: trunc(104 x 100 / 207) = 50
    QTest::mouseMove(b.bar, QPoint(900, 30)); // far beyond the end
    QTest::mouseRelease(b.bar, Qt::LeftButton, {}, QPoint(900, 30));
    EXPECT_FALSE(b.bar->isDragging());
    EXPECT_EQ(reports(spy), std::vector<Report>({{ScrollBar::ThumbTrack, 50}, {ScrollBar::ThumbTrack, 100}}));
    // After the release moves do nothing.
    QTest::mouseMove(b.bar, QPoint(100, 10));
    EXPECT_EQ(spy.count(), 2);
}

TEST(ScrollBar, VerticalThumbDragAndPaint)
{
    Bar v(ScrollBar::Vertical, QRect(0, 0, 20, 300));
    v.bar->setScrollRange(0, 9);
    QSignalSpy spy(v.bar, &ScrollBar::scrolled);
    QTest::mousePress(v.bar, Qt::LeftButton, {}, QPoint(10, 30));
    QTest::mouseMove(v.bar, QPoint(10, 300 - 20 - 20));
    QTest::mouseRelease(v.bar, Qt::LeftButton, {}, QPoint(10, 260));
    EXPECT_EQ(reports(spy), std::vector<Report>({{ScrollBar::ThumbTrack, 9}}));
    v.bar->setScrollPos(9);
    const QImage img = uitest::render(*v.bar);
    // Thumb at the bottom of the track, track above it.
    const QColor thumb = img.pixelColor(2, 300 - 20 - 20);
    const QColor track = img.pixelColor(10, 40);
    EXPECT_GT(thumb.lightness(), track.lightness() + 30);
    // The frame.
    EXPECT_EQ(img.pixelColor(0, 150), QColor(76, 85, 118));
}

TEST(ScrollBar, HoverShowsTheHandUntilThePointerLeaves)
{
    Bar b;
    QCursor::setPos(b.bar->mapToGlobal(QPoint(100, 10)));
    QEnterEvent enter(QPointF(100, 10), QPointF(100, 10), b.bar->mapToGlobal(QPointF(100, 10)));
    QApplication::sendEvent(b.bar, &enter);
    EXPECT_TRUE(b.bar->isHovering());
    EXPECT_EQ(b.bar->cursor().shape(), Qt::PointingHandCursor);
    QTest::qWait(120);
    EXPECT_TRUE(b.bar->isHovering());
    QCursor::setPos(b.bar->mapToGlobal(QPoint(100, 200)));
    QTRY_VERIFY_WITH_TIMEOUT(!b.bar->isHovering(), 1000);
    EXPECT_EQ(b.bar->cursor().shape(), Qt::ArrowCursor);
}

TEST(ScrollBar, createFromStaticAndDegenerateBars)
{
    QWidget window;
    auto* anchor = new QWidget(&window);
    anchor->setGeometry(10, 20, 11, 67);
    window.show();
    ScrollBar* bar = ScrollBar::createFromStatic(ScrollBar::Vertical, &window, anchor, 1915);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(anchor->isVisible());
    EXPECT_EQ(bar->geometry(), QRect(10, 20, 11, 67));
    EXPECT_EQ(bar->controlId(), 1915);
    EXPECT_EQ(ScrollBar::createFromStatic(0, &window, nullptr, 1), nullptr);

    // Shorter than its arrows and thumb: no travel, yet every gesture is safe.
    bar->setScrollRange(0, 9);
    QSignalSpy spy(bar, &ScrollBar::scrolled);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(5, 33));
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(5, 30));
    QTest::mouseMove(bar, QPoint(5, 60));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(5, 60));
    for (const Report& r : reports(spy)) {
        EXPECT_GE(r.second, 0);
        EXPECT_LE(r.second, 9);
    }
    uitest::render(*bar);
}

} // namespace

namespace {

// The arithmetic the fader and the scroll bar share.
TEST(DragTracker, ValueAtTruncatesAndLimits)
{
    EXPECT_EQ(DragTracker::valueAt(104, 207, 100), 50);
    EXPECT_EQ(DragTracker::valueAt(207, 207, 100), 100);
    EXPECT_EQ(DragTracker::valueAt(300, 207, 100), 100);
    EXPECT_EQ(DragTracker::valueAt(-1, 180, 72), 0); // truncated towards zero, then limited
    EXPECT_EQ(DragTracker::valueAt(179, 180, 72), 71);
    EXPECT_EQ(DragTracker::valueAt(50, 0, 72), 0); // no travel
    EXPECT_EQ(DragTracker::valueAt(50, -10, 72), 0);
    EXPECT_EQ(DragTracker::valueAt(50, 100, 0), 0);
    EXPECT_EQ(DragTracker::valueAt(INT_MAX, 1, INT_MAX), INT_MAX); // no overflow
    DragTracker t(Qt::Vertical);
    t.begin(10);
    EXPECT_TRUE(t.active());
    EXPECT_EQ(t.thumbStart(QPoint(99, 60)), 50);
    t.end();
    EXPECT_FALSE(t.active());
}

} // namespace
