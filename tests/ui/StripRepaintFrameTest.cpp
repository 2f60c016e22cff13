#include "tests/ui/StripViewFixture.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ToggleButton.h"
#include "ui/views/RepaintQueue.h"
#include "ui/views/UnderviewWindow.h"

#include <QElapsedTimer>
#include <QScreen>

#include <map>

namespace deskpanel::test {
namespace {

using Part = UnderviewLayout::ChannelPart;

// Counts the paint events each watched widget receives.
class PaintCounter : public QObject {
public:
    void watch(QWidget* widget) { widget->installEventFilter(this); }
    int paintsOf(const QObject* widget) const { return m_paints.count(widget) ? m_paints.at(widget) : 0; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++m_paints[watched];
        return false;
    }

private:
    std::map<const QObject*, int> m_paints;
};

// A remote control's stream of changes, with the event loop turning between them as it
// does in the program: each fader, switch and gain text is painted once a frame, not once
// a change, and what the window shows after the frame is its last state.
TEST_F(StripViewFixture, ManyChangesArePaintedOnceAFrameAndShowTheLastValue)
{
    UnderviewWindow view(app, dialogs);
    view.resize(1012, 501);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    QTest::qWait(3 * RepaintQueue::FrameMs);

    PaintCounter counter;
    QWidget* canvas = view.fader(0)->parentWidget();
    const std::vector<QWidget*> watched = {view.fader(0), view.fader(1), view.toggle(0, ToggleButton::Mute), canvas};
    for (QWidget* widget : watched)
        counter.watch(widget);

    constexpr int Changes = 60;
    QElapsedTimer elapsed;
    elapsed.start();
    for (int k = 0; k < Changes; ++k) {
        app.channels().gainMoveFromRemote(0, 10 + k % 50);
        app.channels().gainMoveFromRemote(1, 60 - k % 50);
        app.channels().switchChanged(ToggleButton::Mute, 0, k % 2);
        QCoreApplication::processEvents();
    }
    // A loaded machine may see a frame or more pass during the changes.
    const int frames = 1 + static_cast<int>(elapsed.elapsed() / RepaintQueue::FrameMs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view.repaintQueue().isTimerRunning(); }, 5000));
    QTest::qWait(2 * RepaintQueue::FrameMs);

    for (QWidget* widget : watched) {
        EXPECT_GE(counter.paintsOf(widget), 1) << widget->objectName().toStdString();
        EXPECT_LE(counter.paintsOf(widget), frames) << widget->objectName().toStdString();
    }
    EXPECT_EQ(view.fader(0)->position(), 10 + (Changes - 1) % 50);
    EXPECT_EQ(view.fader(1)->position(), 60 - (Changes - 1) % 50);
    EXPECT_EQ(view.toggle(0, ToggleButton::Mute)->state(), (Changes - 1) % 2);

    // What the window holds now against a fresh drawing of it: nothing left stale.
    const QImage shown = view.screen()->grabWindow(view.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    const QImage fresh = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), fresh.size());
    for (int channel : {0, 1}) {
        for (Part part : {Part::Fader, Part::BigDB, Part::Mute}) {
            const QRect rect = view.channelRect(part, channel) & view.rect();
            EXPECT_EQ(differingPixels(shown.copy(rect), fresh.copy(rect)), 0)
                << "channel " << channel << " part " << static_cast<int>(part);
        }
    }
}

} // namespace
} // namespace deskpanel::test
