// The main window's scrolling and the scene list's drag, with their limits.
#include "tests/ui/MainWindowFixture.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ScrollBar.h"
#include "ui/main/StripScroller.h"
#include "ui/views/UnitStatusWindow.h"

namespace deskpanel::test {
namespace {

TEST_F(MainWindowTest, StripScrollingStaysInItsRange)
{
    StripScroller& strips = started().strips();
    struct Case {
        const char* name;
        bool overview;
        int start;
        int code;
        int thumb;
        int expected;
    };
    const Case cases[] = {
        {"page right near the end", false, 31200, ScrollBar::PageRight, 0, 31244},
        {"line left near the start", false, 50, ScrollBar::LineLeft, 0, 0},
        {"line right", false, 0, ScrollBar::LineRight, 0, 82},
        {"negative 16-bit thumb", false, 0, ScrollBar::ThumbTrack, -100, 31244},
        {"right end", false, 0, ScrollBar::Right, 0, 31244},
        {"overview bottom", true, 0, ScrollBar::Bottom, 0, 3528},
        {"overview page up at the top", true, 100, ScrollBar::PageUp, 0, 0},
        {"overview line down", true, 0, ScrollBar::LineDown, 0, 168},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.overview) {
            strips.setOverviewPosition(c.start);
            strips.scrollOverview(c.code, c.thumb);
            EXPECT_EQ(strips.overviewPosition(), c.expected);
            EXPECT_EQ(strips.overviewBar()->scrollPos(), c.expected);
        } else {
            strips.setUnderviewPosition(c.start);
            strips.scrollUnderview(c.code, c.thumb);
            EXPECT_EQ(strips.underviewPosition(), c.expected);
            EXPECT_EQ(strips.underviewBar()->scrollPos(), c.expected);
        }
    }
}

// The main window's own keys, the pointer away from the scene list: in the Underview the
// arrows, Home and End scroll and Up and Down step the current channel's gain (Up is one
// step more gain, a lower position); in the Overview Left and Right do nothing, and Up,
// Down, Home, End and the page keys scroll only with the pointer over its scroll bar.
TEST_F(MainWindowTest, WindowKeysScrollAndStepTheCurrentChannelsGain)
{
    MainWindow& w = started();
    StripScroller& strips = w.strips();
    const QPoint away = w.mapToGlobal(QPoint(2, w.height() - 2));
    QCursor::setPos(away);
    if (QCursor::pos() != away)
        GTEST_SKIP() << "this platform cannot place the pointer";
    app.channels().setCurrentChannel(9);
    struct Case {
        const char* name;
        bool overview;
        bool overBar;
        Qt::Key key;
        int start; // position of the view shown
        int position;
        int gainStep; // change of channel 9's gain position
    };
    const Case cases[] = {
        {"underview Left", false, false, Qt::Key_Left, 164, 82, 0},
        {"underview Right", false, false, Qt::Key_Right, 0, 82, 0},
        {"underview Home", false, false, Qt::Key_Home, 500, 0, 0},
        {"underview End", false, false, Qt::Key_End, 0, 31244, 0},
        {"underview Up", false, false, Qt::Key_Up, 82, 82, -1},
        {"underview Down", false, false, Qt::Key_Down, 82, 82, 1},
        {"overview Left", true, false, Qt::Key_Left, 168, 168, 0},
        {"overview Right", true, false, Qt::Key_Right, 168, 168, 0},
        {"overview Up away from the bar", true, false, Qt::Key_Up, 168, 168, -1},
        {"overview Down away from the bar", true, false, Qt::Key_Down, 168, 168, 1},
        {"overview Page Down away from the bar", true, false, Qt::Key_PageDown, 168, 168, 0},
        {"overview Up over the bar", true, true, Qt::Key_Up, 336, 168, 0},
        {"overview Down over the bar", true, true, Qt::Key_Down, 0, 168, 0},
        {"overview Home over the bar", true, true, Qt::Key_Home, 500, 0, 0},
        {"overview End over the bar", true, true, Qt::Key_End, 0, 3528, 0},
        {"overview Page Up over the bar", true, true, Qt::Key_PageUp, 1000, 496, 0},
        {"overview Page Down over the bar", true, true, Qt::Key_PageDown, 0, 504, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (w.overviewShown() != c.overview)
            w.switchView();
        ASSERT_EQ(w.overviewShown(), c.overview);
        ScrollBar* bar = strips.overviewBar();
        QCursor::setPos(c.overBar ? bar->mapToGlobal(bar->rect().center()) : away);
        strips.setUnderviewPosition(c.overview ? 82 : c.start);
        strips.setOverviewPosition(c.overview ? c.start : 168);
        app.project().live[9].gainPosition = 40;

        QTest::keyClick(&w, c.key);
        EXPECT_EQ(c.overview ? strips.overviewPosition() : strips.underviewPosition(), c.position);
        EXPECT_EQ(c.overview ? strips.underviewPosition() : strips.overviewPosition(), c.overview ? 82 : 168)
            << "the other view stays";
        EXPECT_EQ(app.project().live[9].gainPosition, 40 + c.gainStep);
    }

    // Ctrl+G and Ctrl+U switch the muting of linked channels on and off.
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    for (const auto& [key, muteLinked] : {std::pair{Qt::Key_U, 0}, {Qt::Key_G, 1}, {Qt::Key_U, 0}}) {
        QTest::keyClick(&w, key, Qt::ControlModifier);
        EXPECT_EQ(app.project().prefs.muteLinkedChannels, muteLinked) << char(key);
    }
}

TEST_F(MainWindowTest, UnitBoxClickScrollsTheStripsOnlyFromInsideABox)
{
    MainWindow& w = started();
    UnitStatusWindow& boxes = w.unitStatus();
    StripScroller& strips = w.strips();
    struct Case {
        const char* name;
        QPoint at; // in the panel, unscrolled
        int underview;
        int overview;
    };
    const QPoint gapBetweenBoxes(UnitStatusWindow::boxRect(1).right() + 2, 10);
    const Case cases[] = {
        {"unit 5", UnitStatusWindow::boxRect(5).center(), 673 * 4 - 224, 84 * 4 - 84},
        {"between two boxes", gapBetweenBoxes, 1234, 168},
        {"unit 1", UnitStatusWindow::boxRect(1).center(), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        strips.setUnderviewPosition(1234);
        strips.setOverviewPosition(168);
        QTest::mouseClick(&boxes, Qt::LeftButton, {}, c.at);
        EXPECT_EQ(strips.underviewPosition(), c.underview);
        EXPECT_EQ(strips.overviewPosition(), c.overview);
    }
    // The last units lie beyond both ranges: clamped.
    strips.scrollToUnit(48);
    EXPECT_EQ(strips.underviewPosition(), StripScroller::UnderviewMax);
    EXPECT_EQ(strips.overviewPosition(), StripScroller::OverviewMaxNormal);
    EXPECT_EQ(boxes.scroll(ScrollBar::Bottom, 0), UnitStatusWindow::MaxScroll);
    EXPECT_EQ(boxes.scroll(ScrollBar::PageDown, 0), UnitStatusWindow::MaxScroll);
}

TEST_F(MainWindowTest, SceneListScrollRangeAndTopEntryStayInRange)
{
    SceneListPanel& panel = started().sceneList();
    panel.updateScrollRange();
    EXPECT_EQ(panel.scrollBar()->maximum(), 0); // one entry: never negative
    panel.setTopEntry(50);
    EXPECT_EQ(panel.topEntry(), 0);
    storeScenes({"1", "2", "3", "4", "5", "6", "7", "8", "9"});
    EXPECT_EQ(panel.scrollBar()->maximum(), 10 - 6 + 1);
    panel.setTopEntry(-3);
    EXPECT_EQ(panel.topEntry(), 0);
}

TEST_F(MainWindowTest, DraggingTheBlankSceneMovesNothing)
{
    started();
    storeScenes({"Act 1", "Act 2"});
    const auto before = listTexts();
    drag(0, {1, 2});
    drag(1, {0});
    QTest::qWait(700);
    EXPECT_EQ(listTexts(), before);
}

TEST_F(MainWindowTest, DragReordersAndRenumbersHalfASecondLater)
{
    started();
    storeScenes({"Act 1", "Act 2", "Act 3"});
    drag(3, {2});
    // Until the renumbering the lines keep their numbers.
    EXPECT_EQ(listTexts(),
              (std::vector<std::string>{"  000 Blank Scene", "  001 Act 1", "  003 Act 3", "  002 Act 2"}));
    EXPECT_TRUE(QTest::qWaitFor([this] { return listTexts()[2] == "  002 Act 3"; }, 3000));
    EXPECT_EQ(listTexts()[3], "  003 Act 2");
}

TEST_F(MainWindowTest, DragAnsweredNoRestoresTheOrder)
{
    started();
    storeScenes({"Act 1", "Act 2", "Act 3"});
    app.project().prefs.promptSceneReorder = 1;
    const auto before = listTexts();
    op.answers = {Decision::No};
    drag(1, {2, 3});
    EXPECT_TRUE(QTest::qWaitFor([this] { return !op.textsOf(ScriptedOperator::Kind::Decide).empty(); }, 3000));
    EXPECT_EQ(listTexts(), before);
    EXPECT_EQ(app.project().scenes.scene(1).name, "Act 1");
}

// Maximised, the top block is centred on the screen and the tall Overview scrolls less;
// restored, everything returns.
TEST_F(MainWindowTest, MaximisedAndNormalLayouts)
{
    MainWindow& w = started(options({96, 96, QSize(1920, 1080)}));
    const QPoint listAt = w.sceneList().list()->pos();
    const QPoint boxesAt = w.unitStatus().pos();
    w.strips().setOverviewPosition(3528);

    w.showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.isMaximized(); }, 2000));
    const int shift = w.sceneList().list()->x() - listAt.x();
    EXPECT_GT(shift, 0);
    EXPECT_EQ(w.unitStatus().x() - boxesAt.x(), shift);
    const MainLayout& l = w.layout();
    const int blockLeft = l.banner.x() + shift;
    const int blockRight = l.unitScrollBar.x() + l.unitScrollBar.width() + shift;
    EXPECT_LE(std::abs((blockLeft + blockRight) / 2 - 1920 / 2), 1);
    EXPECT_EQ(w.strips().overviewMax(), StripScroller::OverviewMaxTall);
    EXPECT_EQ(w.strips().overviewPosition(), StripScroller::OverviewMaxTall); // kept in range

    w.showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w.isMaximized(); }, 2000));
    EXPECT_EQ(w.sceneList().list()->pos(), listAt);
    EXPECT_EQ(w.unitStatus().pos(), boxesAt);
    EXPECT_EQ(w.strips().overviewMax(), StripScroller::OverviewMaxNormal);
}

// A press never moves the list under the pointer: with 12 scenes, the list at the top
// and scrolled, every visible line pressed is the line selected, a one-pixel move while
// held drags nothing, and a double click recalls the scene on that line.
TEST_F(MainWindowTest, PressingASceneLineActsOnThatLine)
{
    SceneListPanel& panel = started().sceneList();
    storeScenes({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    QListWidget* list = panel.list();
    QWidget* viewport = list->viewport();
    const auto send = [viewport](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(viewport->mapToGlobal(at)), button, held, {});
        QApplication::sendEvent(viewport, &event);
    };
    const auto lines = listTexts();
    list->doItemsLayout(); // the list lays its lines out lazily
    panel.setTopEntry(list->count()); // as far down as the list goes
    const int lastTop = panel.topEntry();
    ASSERT_GT(lastTop, 4);
    for (int top : {0, 4, lastTop}) {
        panel.setTopEntry(top);
        ASSERT_EQ(panel.topEntry(), top);
        int pressed = 0;
        for (int line = top; line < list->count(); ++line) {
            const QRect visible = panel.entryRect(line).intersected(viewport->rect());
            if (visible.isEmpty())
                break;
            SCOPED_TRACE(testing::Message() << "top " << top << ", line " << line);
            ++pressed;
            panel.setTopEntry(top);
            const QPoint at = visible.center();
            send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            EXPECT_EQ(panel.topEntry(), top);
            EXPECT_EQ(list->currentRow(), line);
            send(QEvent::MouseMove, at + QPoint(0, 1), Qt::NoButton, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, at + QPoint(0, 1), Qt::LeftButton, Qt::NoButton);
            EXPECT_EQ(listTexts(), lines);

            panel.setTopEntry(top);
            app.project().activeSceneIndex = line == 1 ? 2 : 1;
            send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
            send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
            EXPECT_EQ(app.project().activeSceneIndex, line);
            EXPECT_EQ(list->currentRow(), line);
        }
        EXPECT_GE(pressed, 4);
    }
    // The scroll bar alone follows a press below the third line.
    panel.setTopEntry(0);
    const QPoint fourth = panel.entryRect(4).center();
    send(QEvent::MouseButtonPress, fourth, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(panel.scrollBar()->scrollPos(), 1);
    EXPECT_EQ(panel.topEntry(), 0);
    send(QEvent::MouseButtonRelease, fourth, Qt::LeftButton, Qt::NoButton);
}

} // namespace
} // namespace deskpanel::test

namespace deskpanel::test {

// From the keyboard: the window opens with no control focused (a Space reaches no
// switch); a fader reached by Tab becomes the current channel, is scrolled into sight and
// steps with Up.
TEST_F(MainWindowTest, AFocusedFaderIsScrolledIntoSightAndStepsWithUp)
{
    MainWindow& w = started();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    EXPECT_EQ(QApplication::focusWidget(), w.centralWidget())
        << QApplication::focusWidget()->metaObject()->className() << " "
        << QApplication::focusWidget()->objectName().toStdString();
    const QPoint away = w.mapToGlobal(QPoint(2, w.height() - 2));
    QCursor::setPos(away);
    GainFader* fader = nullptr;
    for (GainFader* f : w.findChildren<GainFader*>(QStringLiteral("slider30100")))
        if (f->isVisible())
            fader = f;
    ASSERT_NE(fader, nullptr);
    w.strips().setUnderviewPosition(0);
    app.project().live[100].gainPosition = 40;
    fader->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(app.channels().currentChannel(), 100);
    EXPECT_GT(w.strips().underviewPosition(), 0) << "scrolled to the fader";
    const QRect inView(fader->mapTo(fader->parentWidget()->parentWidget(), QPoint(0, 0)), fader->size());
    EXPECT_TRUE(fader->parentWidget()->parentWidget()->rect().contains(inView));
    QTest::keyClick(fader, Qt::Key_Up);
    EXPECT_EQ(app.project().live[100].gainPosition, 39);
}

} // namespace deskpanel::test
