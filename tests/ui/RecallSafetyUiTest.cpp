// The recall safety on screen: the strips' amber "S", the change list's keys, the Recall
// Safes matrix and the 48 V guard at a strip's switch.
#include "tests/ui/StripViewFixture.h"
#include "ui/controls/ToggleButton.h"
#include "ui/dialogs/ChangeListBox.h"
#include "ui/dialogs/RecallSafesDialog.h"
#include "ui/dialogs/RecallSafesView.h"
#include "ui/views/OverviewWindow.h"
#include "ui/views/StripText.h"
#include "ui/views/UnderviewWindow.h"

#include <QListWidget>

namespace deskpanel::test {
namespace {

bool isAmber(const QColor& c)
{
    return c.red() > 200 && c.green() > 110 && c.green() < 220 && c.blue() < 90;
}

class RecallSafetyUiTest : public StripViewFixture {};

TEST_F(RecallSafetyUiTest, AStripWithASafeShowsAnAmberSBesideItsNumberInBothViews)
{
    app.project().recallSafes.set(1, SafeFlag::Mute, true);
    OverviewWindow overview{app, dialogs};
    overview.resize(OverviewWindow::TotalWidth, 672);
    UnderviewWindow underview{app, dialogs};
    underview.resize(1012, 501);
    for (QWidget* view : {static_cast<QWidget*>(&overview), static_cast<QWidget*>(&underview)}) {
        view->setAttribute(Qt::WA_DontShowOnScreen);
        view->show();
    }
    const QImage over = overview.grab().toImage(), under = underview.grab().toImage();
    using OverPart = OverviewLayout::ChannelPart;
    using UnderPart = UnderviewLayout::ChannelPart;
    EXPECT_GT(countPixels(over, overview.channelRect(OverPart::TopNumber, 1), isAmber), 5);
    EXPECT_EQ(countPixels(over, overview.channelRect(OverPart::TopNumber, 0), isAmber), 0);
    EXPECT_GT(countPixels(under, underview.channelRect(UnderPart::TopNumber, 1), isAmber), 5);
    EXPECT_EQ(countPixels(under, underview.channelRect(UnderPart::TopNumber, 0), isAmber), 0);
}

TEST_F(RecallSafetyUiTest, TheChangeListGoesAheadOnYOrItsLetterCancelsOnNCOrEscapeAndIgnoresEnter)
{
    ChangeList changes;
    changes.caption = " Recall Scene";
    changes.acceptText = "&Recall";
    changes.lines = {{ChangeLine::Kind::Warning, "3  Kick  48V off \xE2\x86\x92 ON"},
                     {ChangeLine::Kind::Change, "4  Snare  gain 42 \xE2\x86\x92 30 dB"},
                     {ChangeLine::Kind::Kept, "5  Ribbon  kept: 48V off"}};
    struct Case {
        Qt::Key key;
        bool closes;
        int result;
    };
    const Case cases[] = {{Qt::Key_Y, true, DialogResult::Ok},
                          {Qt::Key_R, true, DialogResult::Ok},
                          {Qt::Key_N, true, DialogResult::Cancel},
                          {Qt::Key_C, true, DialogResult::Cancel},
                          {Qt::Key_Escape, true, DialogResult::Cancel},
                          {Qt::Key_Return, false, 0},
                          {Qt::Key_Enter, false, 0}};
    for (const Case& c : cases) {
        ChangeListBox box(changes);
        box.show();
        QTest::keyClick(&box, c.key);
        EXPECT_EQ(box.isVisible(), !c.closes) << c.key;
        if (c.closes)
            EXPECT_EQ(box.result(), c.result) << c.key;
    }
    ChangeListBox box(changes);
    ASSERT_EQ(box.lines()->count(), 3);
    EXPECT_EQ(box.lines()->item(0)->foreground().color(), ChangeListBox::WarningRed);
    EXPECT_EQ(box.lines()->item(0)->text(), QStringLiteral("3  Kick  48V off → ON"));
    EXPECT_EQ(box.lines()->item(2)->foreground().color(), ChangeListBox::KeptGrey);
}

TEST_F(RecallSafetyUiTest, TheMatrixTogglesByCellDragAndHeadersAndOnlyOkKeepsTheEdit)
{
    const auto edit = [this](auto&& actions, bool ok) {
        RecallSafesDialog dialog(app.project(), app.channels());
        dialog.show();
        RecallSafesView* m = dialog.matrix();
        actions(*m);
        QTest::keyClick(&dialog, ok ? Qt::Key_Return : Qt::Key_Escape);
    };
    // A click, then a drag across three cells of the 48V row.
    edit(
        [](RecallSafesView& m) {
            QTest::mouseClick(&m, Qt::LeftButton, {}, m.cellCentre(0, 2));
            QTest::mousePress(&m, Qt::LeftButton, {}, m.cellCentre(1, 0));
            for (int c : {1, 2}) {
                QMouseEvent move(QEvent::MouseMove, m.cellCentre(1, c), m.mapToGlobal(m.cellCentre(1, c)), Qt::NoButton,
                                 Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(&m, &move);
            }
            QTest::mouseRelease(&m, Qt::LeftButton, {}, m.cellCentre(1, 2));
        },
        true);
    const RecallSafes& safes = app.project().recallSafes;
    EXPECT_EQ(safes.flags(2), static_cast<SafeFlags>(SafeFlag::Gain) | static_cast<SafeFlags>(SafeFlag::Phantom48V));
    EXPECT_TRUE(safes.has(0, SafeFlag::Phantom48V) && safes.has(1, SafeFlag::Phantom48V));
    EXPECT_FALSE(safes.has(3, SafeFlag::Phantom48V));

    // A unit header sets all five flags of its eight inputs; a row header a flag for all.
    edit(
        [](RecallSafesView& m) {
            QTest::mouseClick(&m, Qt::LeftButton, {}, QPoint(m.cellCentre(0, 3).x(), 4));
            QTest::mouseClick(&m, Qt::LeftButton, {}, QPoint(10, m.cellCentre(4, 0).y()));
        },
        true);
    EXPECT_EQ(safes.flags(7), AllSafeFlags);
    EXPECT_EQ(safes.flags(8), static_cast<SafeFlags>(SafeFlag::Mute));
    EXPECT_EQ(safes.safeChannelCount(), MaxChannels);

    // Cancel discards.
    const RecallSafes before = safes;
    edit([](RecallSafesView& m) { QTest::mouseClick(&m, Qt::LeftButton, {}, QPoint(10, m.cellCentre(4, 0).y())); },
         false);
    EXPECT_EQ(app.project().recallSafes, before);
}

TEST_F(RecallSafetyUiTest, AStripsPhantomSwitchAsksOnceAndAfterNoStaysOff)
{
    UnderviewWindow view{app, dialogs};
    view.resize(1012, 501);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.show();
    app.channels().setConfirmPhantomOn(true);
    app.project().channels[0].name = "Ribbon";
    ToggleButton* phantom = view.toggle(0, ToggleButton::Phantom);
    ASSERT_NE(phantom, nullptr);

    op.answers = {Decision::No};
    QTest::mouseClick(phantom, Qt::LeftButton);
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::Decide), (std::vector<std::string>{"Switch 48 V on for Ribbon?"}));
    EXPECT_EQ(phantom->state(), 0);
    EXPECT_EQ(live(0).phantom48V, 0);

    op.clear();
    QTest::mouseClick(phantom, Qt::LeftButton); // Yes
    EXPECT_EQ(live(0).phantom48V, 1);
    QTest::mouseClick(phantom, Qt::LeftButton); // off: never asked
    EXPECT_EQ(live(0).phantom48V, 0);
    EXPECT_EQ(op.textsOf(ScriptedOperator::Kind::Decide).size(), 1u);
}

} // namespace
} // namespace deskpanel::test
