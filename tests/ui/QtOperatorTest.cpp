// The operator port on the real boxes: every modal call is answered from inside its
// own event loop, as an operator would.
#include "ui/dialogs/QtOperator.h"

#include "ui/controls/GlassButton.h"
#include "ui/dialogs/TimedNote.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace deskpanel;

using deskpanel::Decision;
using deskpanel::QtOperator;

namespace {

// Runs `answer` on the modal box once it is open.
void whenBoxOpens(std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        answer(box);
    });
}

void clickButton(QWidget* box, int id)
{
    auto* b = box->findChild<GlassButton*>(QStringLiteral("button%1").arg(id));
    ASSERT_NE(b, nullptr) << id;
    QTest::mouseClick(b, Qt::LeftButton);
}

TEST(QtOperator, MessageShowsTheTextUntilOk)
{
    QtOperator op;
    QString shown;
    whenBoxOpens([&](QWidget* box) {
        shown = box->findChild<QLabel*>(QStringLiteral("text1012"))->text();
        clickButton(box, 1050);
    });
    op.message("Unit 3 is inactive or off-line.");
    EXPECT_EQ(shown, QStringLiteral("Unit 3 is inactive or off-line."));
    EXPECT_EQ(op.sharedText(), "Unit 3 is inactive or off-line.");
}

TEST(QtOperator, PlatformMessageUsesThePlainMessageBox)
{
    QtOperator op;
    QString shown;
    whenBoxOpens([&](QWidget* box) {
        auto* plain = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(plain, nullptr);
        shown = plain->text();
        plain->button(QMessageBox::Ok)->click();
    });
    op.platformMessage("ERROR - failed to create CCustomButton");
    EXPECT_EQ(shown, QStringLiteral("ERROR - failed to create CCustomButton"));
}

TEST(QtOperator, DecideIsYesOnlyForAnExplicitYes)
{
    QtOperator op;
    whenBoxOpens([](QWidget* box) { QTest::keyClicks(box, QStringLiteral("y")); });
    EXPECT_EQ(op.decide("Are you sure?"), Decision::Yes);
    whenBoxOpens([](QWidget* box) { clickButton(box, 1054); });
    EXPECT_EQ(op.decide("Are you sure?"), Decision::No);
    whenBoxOpens([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(op.decide("Are you sure?"), Decision::No);
}

TEST(QtOperator, ThreeWayAnswersByMeaning)
{
    QtOperator op;
    whenBoxOpens([](QWidget* box) { clickButton(box, 1053); });
    EXPECT_EQ(op.decideThreeWay("Do you want to save any changes you made?", {}), Decision::Yes);
    whenBoxOpens([](QWidget* box) { clickButton(box, 1054); });
    EXPECT_EQ(op.decideThreeWay("q", {}), Decision::No);
    whenBoxOpens([](QWidget* box) { clickButton(box, 1049); });
    EXPECT_EQ(op.decideThreeWay("q", {}), Decision::Cancel);
    whenBoxOpens([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
    EXPECT_EQ(op.decideThreeWay("q", {}), Decision::Cancel);
}

TEST(QtOperator, ThreeWaySaveAsRunsWhileTheBoxStaysOpen)
{
    QtOperator op;
    bool boxOpenDuringSave = false;
    whenBoxOpens([](QWidget* box) {
        QTest::keyClick(box, Qt::Key_Return);
        clickButton(box, 1049);
    });
    const Decision d =
        op.decideThreeWay("q", [&] { boxOpenDuringSave = QApplication::activeModalWidget() != nullptr; });
    EXPECT_TRUE(boxOpenDuringSave);
    EXPECT_EQ(d, Decision::Cancel);
}

TEST(QtOperator, AtMostOneTimedNote)
{
    QtOperator op;
    EXPECT_FALSE(op.isTimedNoteOpen());
    op.timedNote("UNIT ID", "first", 5000);
    TimedNote* first = op.openTimedNote();
    ASSERT_NE(first, nullptr);
    op.timedNote("UNIT ID", "second", 5000);
    EXPECT_EQ(op.openTimedNote(), first);
    EXPECT_EQ(first->text(), QStringLiteral("second"));
    EXPECT_EQ(QApplication::topLevelWidgets().count(first), 1);
}

TEST(QtOperator, TimedNoteClosesItselfAndAnotherMayFollow)
{
    QtOperator op;
    op.timedNote("UNIT ID", "short", 30);
    EXPECT_TRUE(op.isTimedNoteOpen());
    QTRY_VERIFY_WITH_TIMEOUT(!op.isTimedNoteOpen(), 2000);
    op.timedNote("UNIT ID", "next", 5000);
    EXPECT_TRUE(op.isTimedNoteOpen());
    EXPECT_EQ(op.openTimedNote()->text(), QStringLiteral("next"));
}

} // namespace
