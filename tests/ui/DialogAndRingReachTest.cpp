// Every dialog control within the keyboard's and the reader's reach: labelled fields are
// named by their labels, glass buttons are Tab stops with the ring that Space presses and
// tell their Alt letter, a box's text is its description and its safe answer has the
// focus. The focus ring is two touching lines of one logical pixel at ratios 1 and 2, and
// stands out from every ground it sits on.
#include "tests/ui/MainWindowFixture.h"
#include "ui/access/ConsoleAccessibility.h"
#include "ui/controls/DialogTemplate.h"
#include "ui/controls/FocusRing.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/GlassButton.h"
#include "ui/controls/PictureButton.h"
#include "ui/controls/ToggleButton.h"
#include "ui/dialogs/ChangeListBox.h"
#include "ui/dialogs/DecisionBox.h"
#include "ui/dialogs/RemoteControlDialog.h"
#include "ui/dialogs/ThreeWayBox.h"
#include "ui/views/OverviewPainter.h"
#include "ui/views/UnderviewPainter.h"
#include "ui/views/UnitStatusWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QSpinBox>

namespace deskpanel::test {
namespace {

QAccessibleInterface* accessible(QObject* object)
{
    installConsoleAccessibility();
    return QAccessible::queryAccessibleInterface(object);
}

GlassButton* buttonOf(QWidget& dialog, int id)
{
    return dialog.findChild<GlassButton*>(QStringLiteral("button%1").arg(id));
}

void showActive(QWidget& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

using DialogReach = MainWindowTest;

TEST_F(DialogReach, RemoteControlFieldsAreNamedByTheirLabels)
{
    MainWindow& w = started();
    RemoteControlDialog dialog(w.remote(), &w);
    EXPECT_EQ(accessible(dialog.findChild<QSpinBox*>(QStringLiteral("port")))->text(QAccessible::Name),
              QStringLiteral("UDP port"));
    EXPECT_EQ(accessible(dialog.findChild<QLineEdit*>(QStringLiteral("hosts")))->text(QAccessible::Name),
              QStringLiteral("Allowed hosts"));
}

TEST(BoxReach, TheSafeAnswerHasTheFocusAndTheTextIsTheDescription)
{
    struct Case {
        const char* name;
        std::function<GlassDialog*()> make;
        int focused;
        QString description;
    };
    ChangeList changes{" Recall Scene", "Recalling 'Verse' changes these inputs:", "&Recall", {}};
    const Case cases[] = {
        {"decision", [] { return new DecisionBox(QStringLiteral("Are you sure?")); }, ControlId::No,
         QStringLiteral("Are you sure?")},
        {"three-way", [] { return new ThreeWayBox(QStringLiteral("Save changes?"), {}); }, ControlId::Cancel,
         QStringLiteral("Save changes?")},
        {"recall preview", [&] { return new ChangeListBox(changes); }, ControlId::Cancel,
         QStringLiteral("Recalling 'Verse' changes these inputs:")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<GlassDialog> box(c.make());
        showActive(*box);
        EXPECT_EQ(QApplication::focusWidget(), buttonOf(*box, c.focused));
        EXPECT_EQ(accessible(box.get())->text(QAccessible::Description), c.description);
        if (c.focused == ControlId::No)
            EXPECT_EQ(box->title(), QStringLiteral("Decision"));
    }
}

TEST(BoxReach, GlassButtonsAreTabStopsThatSpacePresses)
{
    installConsoleAccessibility(); // before the box is shown, as the program does at start
    DecisionBox box(QStringLiteral("Are you sure?"));
    showActive(box);
    GlassButton* yes = buttonOf(box, ControlId::Yes);
    EXPECT_EQ(accessible(yes)->text(QAccessible::Accelerator), QStringLiteral("Alt+Y"));
    const QImage plain = yes->grab().toImage();
    for (int tab = 0; tab < 3 && !yes->hasFocus(); ++tab)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(yes->hasFocus()) << "Tab reaches the buttons";
    const QImage ringed = yes->grab().toImage();
    EXPECT_EQ(ringed.pixelColor(0, ringed.height() / 2), FocusRingOuter);
    EXPECT_NE(plain.pixelColor(0, plain.height() / 2), FocusRingOuter);
    QTest::keyClick(yes, Qt::Key_Space);
    EXPECT_EQ(box.result(), DialogResult::Yes);
}

// The ring drawn on each ground it sits on, at ratios 1 and 2: from the edge inwards one
// logical pixel of black, then one of white, with no ground between them.
TEST(FocusRing, TwoTouchingLogicalPixelsOnEveryGround)
{
    QWidget host;
    std::vector<std::pair<const char*, QWidget*>> controls{
        {"switch", ToggleButton::create(&host, 6000, 0, "244", "245", QRect(0, 0, 30, 20))},
        {"fader", GainFader::create(&host, QRect(0, 30, 20, 200), 0, "133", "132")},
        {"scene button",
         PictureButton::create(&host, PictureButton::RecallId, "183", "187", "141", QRect(40, 0, 69, 23))},
        {"glass button", GlassButton::create(&host, 1, "162", "OK", QRect(40, 40, 60, 20))},
    };
    auto* units = new UnitStatusWindow(8, 96, &host);
    units->setGeometry(120, 0, 480, 105);
    controls.emplace_back("unit panel", units);
    // What lies just inside each control's edge, where the ring goes.
    std::vector<std::pair<std::string, QColor>> grounds{{"underview", UnderviewPainter::Background},
                                                        {"overview", OverviewPainter::Background},
                                                        {"dialog", QColor(231, 231, 231)}};
    for (const auto& [name, control] : controls) {
        ASSERT_NE(control, nullptr) << name;
        const QImage image = control->grab().toImage();
        const QPoint inside = control == units ? UnitStatusWindow::boxRect(1).topLeft() : QPoint(0, 0);
        for (const QPoint at : {inside, inside + QPoint(1, 1), inside + QPoint(2, image.height() / 2)})
            grounds.emplace_back(std::string(name) + " at " + std::to_string(at.x()), image.pixelColor(at));
    }
    for (const int ratio : {1, 2}) {
        for (const auto& [name, ground] : grounds) {
            SCOPED_TRACE(name + " at ratio " + std::to_string(ratio));
            QImage image(40 * ratio, 30 * ratio, QImage::Format_ARGB32);
            image.setDevicePixelRatio(ratio);
            image.fill(ground);
            {
                QPainter p(&image);
                drawFocusRing(p, QRect(0, 0, 40, 30));
            }
            const int midY = 15 * ratio;
            const int midX = 20 * ratio;
            for (int d = 0; d < 2 * ratio; ++d) {
                const QColor line = d < ratio ? FocusRingOuter : FocusRingInner;
                EXPECT_EQ(image.pixelColor(d, midY), line) << "left, device pixel " << d;
                EXPECT_EQ(image.pixelColor(image.width() - 1 - d, midY), line) << "right, device pixel " << d;
                EXPECT_EQ(image.pixelColor(midX, d), line) << "top, device pixel " << d;
                EXPECT_EQ(image.pixelColor(midX, image.height() - 1 - d), line) << "bottom, device pixel " << d;
            }
            EXPECT_EQ(image.pixelColor(2 * ratio, midY), ground) << "the ring is two logical pixels wide";
            EXPECT_GE(std::max(contrastRatio(FocusRingOuter, ground), contrastRatio(FocusRingInner, ground)), 3.0);
        }
    }
}

} // namespace
} // namespace deskpanel::test
