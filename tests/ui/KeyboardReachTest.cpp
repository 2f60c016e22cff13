// The keys follow a focus the keyboard gave: with a control reached by Tab the keys are
// its own, wherever the pointer is; with none, the mouse user's arrows step the current
// channel. Escape first takes the focus back from a control. The unit panel is one Tab
// stop with arrows inside; the scene list renames and moves its scene from the keyboard.
#include "tests/support/ScriptedNamingDialogs.h"
#include "tests/ui/MainWindowFixture.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ToggleButton.h"
#include "ui/views/UnitStatusWindow.h"

#include <QApplication>
#include <QCursor>

namespace deskpanel::test {
namespace {

using Kind = ScriptedOperator::Kind;

class KeyboardReach : public MainWindowTest {
protected:
    template <class Control>
    Control* shown(const QString& name)
    {
        for (Control* c : window->findChildren<Control*>(name))
            if (c->isVisible())
                return c;
        return nullptr;
    }
    ToggleButton* muteOf(int channel)
    {
        for (ToggleButton* t : window->findChildren<ToggleButton*>())
            if (t->isVisible() && t->channel() == channel && t->kind() == ToggleButton::Mute)
                return t;
        return nullptr;
    }
    GainFader* faderOf(int channel) { return shown<GainFader>(QStringLiteral("slider%1").arg(30000 + channel)); }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), k, mods);
    }
    int gain(int channel) { return app.project().live[std::size_t(channel)].gainPosition; }
    // Places the pointer over the scene list or away from it; false when the platform cannot.
    bool pointer(bool overList)
    {
        QListWidget* list = window->sceneList().list();
        const QPoint at =
            overList ? list->mapToGlobal(list->rect().center()) : window->mapToGlobal(QPoint(2, window->height() - 2));
        QCursor::setPos(at);
        return QCursor::pos() == at;
    }
};

TEST_F(KeyboardReach, KeysBelongToTheControlTheKeyboardReached)
{
    MainWindow& w = started();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    storeScenes({"Verse", "Chorus"});
    ASSERT_NE(muteOf(1), nullptr);
    ASSERT_NE(faderOf(5), nullptr);
    for (const bool overList : {false, true}) {
        SCOPED_TRACE(overList ? "pointer over the scene list" : "pointer away from the scene list");
        if (!pointer(overList))
            GTEST_SKIP() << "this platform cannot place the pointer";
        for (int c = 0; c < 8; ++c)
            app.project().live[std::size_t(c)].gainPosition = 40;
        w.centralWidget()->setFocus(Qt::OtherFocusReason);
        app.channels().setCurrentChannel(0);

        if (!overList) { // no control reached: the mouse user's arrows
            key(Qt::Key_Up);
            EXPECT_EQ(gain(0), 39);
        }
        QListWidget* list = w.sceneList().list();
        list->setCurrentRow(0);
        list->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Down);
        EXPECT_EQ(list->currentRow(), 1) << "the list moves";
        key(Qt::Key_Up);
        EXPECT_EQ(list->currentRow(), 0);

        muteOf(1)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(app.channels().currentChannel(), 1) << "a switch reached by Tab makes its channel current";
        key(Qt::Key_Up);
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        faderOf(5)->setFocus(Qt::TabFocusReason);
        key(Qt::Key_Up);
        key(Qt::Key_Up);
        key(Qt::Key_Down);
        EXPECT_EQ(gain(5), 39) << "a focused fader steps its own channel";
        EXPECT_EQ(gain(0), overList ? 40 : 39) << "only the mouse user's Up changed channel 1";
        EXPECT_EQ(gain(1), 40) << "the arrows on a switch change nothing";

        // Coming back to a control for another reason makes nothing current.
        app.channels().setCurrentChannel(3);
        faderOf(7)->setFocus(Qt::ActiveWindowFocusReason);
        muteOf(6)->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(app.channels().currentChannel(), 3);

        // Escape: first the focus goes back to the window, then it asks to exit (the
        // pointer over the list drops it, as it always did).
        muteOf(2)->setFocus(Qt::TabFocusReason);
        op.answers = {Decision::Cancel};
        key(Qt::Key_Escape);
        EXPECT_EQ(QApplication::focusWidget(), &w);
        EXPECT_TRUE(op.textsOf(Kind::DecideThreeWay).empty());
        key(Qt::Key_Escape);
        EXPECT_EQ(op.textsOf(Kind::DecideThreeWay).size(), overList ? 0u : 1u);
        op.shown.clear();
    }
}

// F2 renames the selected scene and Ctrl+Up and Ctrl+Down move it, as the mouse's rename
// and drag do; the Blank Scene stays first; with the scene lock on each beeps.
TEST_F(KeyboardReach, SceneListRenamesAndMovesItsScene)
{
    MainWindow& w = started();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    ScriptedNamingDialogs naming;
    app.setSceneNaming(&naming);
    storeScenes({"Verse", "Chorus", "Bridge"});
    QListWidget* list = w.sceneList().list();
    list->setCurrentRow(2);
    list->setFocus(Qt::TabFocusReason);
    naming.answers = {NameAndNotes{"Refrain", ""}};
    key(Qt::Key_F2);
    ASSERT_EQ(naming.opened.size(), 1u);
    EXPECT_EQ(naming.opened[0].initial.name, "Chorus");
    EXPECT_EQ(app.project().scenes.scene(2).name, "Refrain");

    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(app.project().scenes.scene(3).name, "Refrain");
    EXPECT_EQ(list->currentRow(), 3);
    key(Qt::Key_Up, Qt::ControlModifier);
    key(Qt::Key_Up, Qt::ControlModifier);
    key(Qt::Key_Up, Qt::ControlModifier); // onto the Blank Scene: nothing moves
    EXPECT_EQ(app.project().scenes.scene(1).name, "Refrain");
    EXPECT_TRUE(QTest::qWaitFor([&] { return listTexts()[1] == "  001 Refrain"; }, 3000)) << "renumbered";

    app.scenes().toggleSceneLock();
    op.shown.clear();
    key(Qt::Key_F2);
    key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(op.textsOf(Kind::Beep).size(), 2u);
    EXPECT_EQ(naming.opened.size(), 1u);
    EXPECT_EQ(app.project().scenes.scene(1).name, "Refrain");
    app.setSceneNaming(nullptr);
}

// The unit panel is one Tab stop: Left and Right move by unit, Up and Down by row, Home
// and End to the ends, Enter opens the unit's status; Tab leaves it.
TEST_F(KeyboardReach, UnitPanelIsOneTabStopWithArrows)
{
    MainWindow& w = started();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    UnitStatusWindow& units = w.unitStatus();
    std::vector<int> opened;
    units.onUnitDoubleClicked = [&](int unit) { opened.push_back(unit); };
    units.setFocus(Qt::TabFocusReason);
    struct Step {
        Qt::Key key;
        int unit;
    };
    for (const Step s : {Step{Qt::Key_Right, 2}, Step{Qt::Key_Down, 6}, Step{Qt::Key_Left, 5}, Step{Qt::Key_Up, 1},
                         Step{Qt::Key_Up, 1}, Step{Qt::Key_End, 48}, Step{Qt::Key_Right, 48}, Step{Qt::Key_Home, 1}}) {
        key(s.key);
        EXPECT_EQ(units.focusedUnit(), s.unit) << QKeySequence(s.key).toString().toStdString();
    }
    key(Qt::Key_Return);
    EXPECT_EQ(opened, std::vector<int>{1});
    key(Qt::Key_Tab);
    EXPECT_FALSE(units.hasFocus()) << "one Tab leaves the panel";
}

} // namespace
} // namespace deskpanel::test
