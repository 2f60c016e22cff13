// The message, decision, three-way and about boxes and the timed note.
#include "ui/controls/GlassButton.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/artwork/Artwork.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/DecisionBox.h"
#include "ui/dialogs/InfoBox.h"
#include "ui/dialogs/ThreeWayBox.h"
#include "ui/dialogs/TimedNote.h"

#include "tests/ui/UiTestSupport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace deskpanel;

namespace {

GlassButton* button(QWidget& box, int id)
{
    return box.findChild<GlassButton*>(QStringLiteral("button%1").arg(id));
}

void click(GlassButton* b)
{
    ASSERT_NE(b, nullptr);
    QTest::mouseClick(b, Qt::LeftButton);
}

TEST(MessageBox, ShowsTextAndOkGivesOne)
{
    InfoBox box(QStringLiteral("There are no active Units to check"));
    box.show();
    auto* text = box.findChild<QLabel*>(QStringLiteral("text1012"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), QStringLiteral("There are no active Units to check"));
    EXPECT_EQ(button(box, 1050)->text(), QStringLiteral("&OK"));
    click(button(box, 1050));
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), 1);
}

TEST(MessageBox, EnterActsAsOk)
{
    InfoBox box(QStringLiteral("x"));
    box.show();
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), 1);
}

TEST(MessageBox, SizeFollowsTheLayoutInDialogUnits)
{
    InfoBox box(QStringLiteral("x"));
    // 173 x 127 dialog units of the 8 point dialog font at 96 pixels per inch.
    EXPECT_EQ(box.size(), QSize(260, 206));
    // OK at 68, 106, 36 x 12 units.
    EXPECT_EQ(button(box, 1050)->geometry(), QRect(102, 172, 54, 20));
}

TEST(MessageBox, PaintsTheGlassLook)
{
    InfoBox box(QStringLiteral("x"));
    box.show();
    const QImage img = uitest::render(box);
    // The white panel below the header, the light dialog ground at its edge, the black
    // frame on the left, and the blue rim of the panel.
    EXPECT_EQ(img.pixelColor(40, 120), QColor(Qt::white));
    EXPECT_EQ(img.pixelColor(2, 120), QColor(231, 231, 231));
    EXPECT_EQ(img.pixelColor(0, 120), QColor(Qt::black));
    const QColor rim = img.pixelColor(5, 120);
    EXPECT_LT(rim.red(), 60);
    EXPECT_GT(rim.blue(), 90);
    // The header gradient between the corners is light grey, not the white panel.
    const QColor header = img.pixelColor(120, 14);
    EXPECT_LT(header.red(), 240);
    EXPECT_GT(header.red(), 150);
}

TEST(MessageBox, OkButtonShiftsWhilePressed)
{
    InfoBox box(QStringLiteral("x"));
    box.show();
    GlassButton* ok = button(box, 1050);
    ASSERT_NE(ok, nullptr);
    const QImage up = uitest::render(*ok);
    QTest::mousePress(ok, Qt::LeftButton);
    EXPECT_EQ(ok->state(), 1);
    const QImage down = uitest::render(*ok);
    // Drawn one pixel lower and to the right: the face's left rim moves from column 0 to 1.
    EXPECT_EQ(down.pixelColor(1, 11), up.pixelColor(0, 10));
    EXPECT_EQ(down.pixelColor(10, 11), up.pixelColor(9, 10));
    EXPECT_NE(down.pixelColor(0, 10), up.pixelColor(0, 10));
    QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(-20, -20));
    EXPECT_EQ(ok->state(), 0);
    EXPECT_TRUE(box.isVisible()) << "a release outside the button is no click";
}

TEST(DecisionBox, TypedLettersAnswer)
{
    for (char key : {'y', 'Y'}) {
        DecisionBox box(QStringLiteral("Are you sure?"));
        box.show();
        QTest::keyClicks(&box, QString(QChar::fromLatin1(key)));
        EXPECT_FALSE(box.isVisible());
        EXPECT_EQ(box.result(), 6) << key;
    }
    for (char key : {'n', 'N'}) {
        DecisionBox box(QStringLiteral("Are you sure?"));
        box.show();
        QTest::keyClicks(&box, QString(QChar::fromLatin1(key)));
        EXPECT_EQ(box.result(), 7) << key;
    }
}

TEST(DecisionBox, ButtonsAndEscape)
{
    {
        DecisionBox box(QStringLiteral("q"));
        box.show();
        click(button(box, 1053));
        EXPECT_EQ(box.result(), 6);
    }
    {
        DecisionBox box(QStringLiteral("q"));
        box.show();
        click(button(box, 1054));
        EXPECT_EQ(box.result(), 7);
    }
    {
        DecisionBox box(QStringLiteral("q"));
        box.show();
        QTest::keyClick(&box, Qt::Key_Escape);
        EXPECT_EQ(box.result(), 2);
    }
    {
        // Other letters leave the question open.
        DecisionBox box(QStringLiteral("q"));
        box.show();
        QTest::keyClicks(&box, QStringLiteral("x"));
        EXPECT_TRUE(box.isVisible());
    }
}

TEST(Boxes, EnterAndEscapeCloseEachBoxWithItsAnswer)
{
    struct Case {
        const char* what;
        std::function<GlassDialog*()> make;
        Qt::Key key;
        int result;
    };
    const auto message = [] { return new InfoBox(QStringLiteral("m")); };
    const auto decision = [] { return new DecisionBox(QStringLiteral("q")); };
    const auto about = [] { return new AboutBox(QStringLiteral("1.1")); };
    const Case cases[] = {
        {"message, Enter", message, Qt::Key_Return, DialogResult::Ok},
        {"message, Escape", message, Qt::Key_Escape, DialogResult::Ok},
        {"decision, Enter", decision, Qt::Key_Return, DialogResult::No},
        {"decision, keypad Enter", decision, Qt::Key_Enter, DialogResult::No},
        {"decision, Escape", decision, Qt::Key_Escape, DialogResult::Cancel},
        {"about, Enter", about, Qt::Key_Return, DialogResult::Ok},
        {"about, Escape", about, Qt::Key_Escape, DialogResult::Cancel},
    };
    for (const Case& c : cases) {
        std::unique_ptr<GlassDialog> box(c.make());
        box->show();
        QTest::keyClick(box.get(), c.key);
        EXPECT_FALSE(box->isVisible()) << c.what;
        EXPECT_EQ(box->result(), c.result) << c.what;
    }
}

TEST(ThreeWayBox, ResultsAreTheReverseOfTheDecisionBox)
{
    const std::pair<int, int> cases[] = {{1053, 7}, {1054, 6}, {1049, 2}};
    for (auto [id, expected] : cases) {
        ThreeWayBox box(QStringLiteral("Do you want to save any changes you made?"), {});
        box.show();
        click(button(box, id));
        EXPECT_EQ(box.result(), expected) << id;
    }
    ThreeWayBox box(QStringLiteral("q"), {});
    box.show();
    QTest::keyClick(&box, Qt::Key_Escape);
    EXPECT_EQ(box.result(), 2);
    EXPECT_EQ(button(box, 1053)->bitmap(), QStringLiteral("230"));
}

TEST(ThreeWayBox, EnterStartsSaveAsAndTheBoxStaysOpen)
{
    int saves = 0;
    ThreeWayBox box(QStringLiteral("q"), [&] { ++saves; });
    box.show();
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClick(&box, Qt::Key_Enter);
    EXPECT_EQ(saves, 2);
    EXPECT_TRUE(box.isVisible());
    // Without a Save As, Enter does nothing at all.
    ThreeWayBox plain(QStringLiteral("q"), {});
    plain.show();
    QTest::keyClick(&plain, Qt::Key_Return);
    EXPECT_TRUE(plain.isVisible());
}

TEST(AboutBox, VersionText)
{
    EXPECT_EQ(AboutBox::versionText(QStringLiteral("1.1")), QStringLiteral("Version 1.01"));
    EXPECT_EQ(AboutBox::versionText(QStringLiteral("2.15.3")), QStringLiteral("Version 2.15"));
    EXPECT_EQ(AboutBox::versionText(QStringLiteral("3.105")), QStringLiteral("Version 3.105"));
    // No usable version: the fallback.
    EXPECT_EQ(AboutBox::versionText(QString()), QStringLiteral("Version 1.01"));
    EXPECT_EQ(AboutBox::versionText(QStringLiteral("beta")), QStringLiteral("Version 1.01"));
    EXPECT_EQ(AboutBox::versionText(QStringLiteral("7")), QStringLiteral("Version 1.01"));
    EXPECT_EQ(AboutBox::versionText(QStringLiteral("1.70000")), QStringLiteral("Version 1.01"));
    EXPECT_EQ(AboutBox::versionText(QStringLiteral("-1.2")), QStringLiteral("Version 1.01"));
}

TEST(AboutBox, SizedFromThePictureWithTheVersionInItsCorner)
{
    AboutBox box{QString()};
    EXPECT_EQ(box.shownVersion(), QStringLiteral("Version 1.01"));
    EXPECT_EQ(box.size(), QSize(491 + 8, 314 + 35));
    const QRect v = box.versionRect();
    // The version keeps its size (48 x 9 units) and moves to the picture's corner.
    EXPECT_EQ(v.size(), QSize(72, 15));
    EXPECT_EQ(v.topLeft(), QPoint(491 - 72 - 8, 314 - 15 + 21));
    box.show();
    const QImage img = uitest::render(box);
    EXPECT_EQ(img.pixelColor(v.left() + 1, v.top() + 1), QColor(134, 158, 194));
}

TEST(AboutBox, FadesInAndAClickCloses)
{
    AboutBox box(QStringLiteral("1.1"));
    box.show();
    EXPECT_TRUE(box.isFading());
    EXPECT_EQ(box.alpha(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!box.isFading(), 5000);
    EXPECT_EQ(box.alpha(), 244);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(300, 200));
    EXPECT_FALSE(box.isVisible());
}

TEST(AboutBox, MissingPictureKeepsTheTemplateSize)
{
    ImageRegistry& images = ImageRegistry::instance();
    const QSize size = images.size(QStringLiteral("165"));
    images.remove(QStringLiteral("165"));
    {
        AboutBox box{QString()};
        EXPECT_EQ(box.size(), QSize(546, 369));
        box.show();
        uitest::render(box); // paints without the picture
    }
    artwork::registerAll(images);
    EXPECT_EQ(images.size(QStringLiteral("165")), size);
}

TEST(TimedNote, RefusesEscapeAndClosesItselfAfterItsTime)
{
    QElapsedTimer clock;
    clock.start();
    QPointer<TimedNote> note = new TimedNote(QStringLiteral("UNIT ID"), QStringLiteral("Unit 60"), 5000);
    note->show();
    EXPECT_EQ(note->windowTitle(), QStringLiteral("UNIT ID"));
    QSignalSpy beeps(note.data(), &TimedNote::beeped);
    QTest::keyClick(note.data(), Qt::Key_Escape);
    note->close();
    EXPECT_EQ(beeps.count(), 2);
    ASSERT_FALSE(note.isNull());
    EXPECT_TRUE(note->isVisible());
    // It stays until its 5000 ms have passed, and goes then.
    EXPECT_GE(uitest::elapsedWhen(
                  clock, [&] { return note.isNull() || !note->isVisible(); }, 10000),
              5000);
    QTRY_VERIFY_WITH_TIMEOUT(note.isNull(), 3000);
}

} // namespace
