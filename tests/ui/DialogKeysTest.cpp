// Keys shared by every dialog in the glass look: Alt with a caption's marked letter
// presses that button, also in the boxes; after the Channel Name dialog opened from the
// menu, the next mouse event is swallowed.
#include "app/DeskPanelApp.h"
#include "app/HelpOpener.h"
#include "ui/controls/GlassButton.h"
#include "ui/dialogs/AppDialogs.h"
#include "ui/dialogs/DecisionBox.h"
#include "ui/dialogs/InfoBox.h"
#include "ui/dialogs/ThreeWayBox.h"

#include "tests/ui/DialogTestRig.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

using namespace deskpanel;

using namespace uitest;

namespace {

class ClickCounter : public QWidget {
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override { ++presses; }
};

} // namespace

TEST(DialogKeys, AltWithTheMarkedLetterPressesTheButtonInTheBoxes)
{
    struct Case {
        const char* what;
        std::function<GlassDialog*()> make;
        Qt::Key key;
        int result;
    };
    const Case cases[] = {
        {"message", [] { return new InfoBox(QStringLiteral("m")); }, Qt::Key_O, DialogResult::Ok},
        {"decision yes", [] { return new DecisionBox(QStringLiteral("q")); }, Qt::Key_Y, DialogResult::Yes},
        {"decision no", [] { return new DecisionBox(QStringLiteral("q")); }, Qt::Key_N, DialogResult::No},
        {"three-way yes", [] { return new ThreeWayBox(QStringLiteral("q"), {}); }, Qt::Key_Y, ThreeWayBox::resultYes},
        {"three-way cancel", [] { return new ThreeWayBox(QStringLiteral("q"), {}); }, Qt::Key_C, DialogResult::Cancel},
    };
    for (const Case& c : cases) {
        std::unique_ptr<GlassDialog> box(c.make());
        box->show();
        QTest::keyClick(box.get(), c.key, Qt::AltModifier);
        EXPECT_FALSE(box->isVisible()) << c.what;
        EXPECT_EQ(box->result(), c.result) << c.what;
    }
    // A letter no caption marks does nothing.
    InfoBox box(QStringLiteral("m"));
    box.show();
    QTest::keyClick(&box, Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(box.isVisible());
}

TEST(DialogKeys, TheClickAfterTheChannelNameDialogFromTheMenuIsDropped)
{
    ScriptedOperator op;
    DeskPanelApp app(LinkPorts{0, 0}, op);
    HelpOpener help(QStringLiteral("/nonexistent"));
    ClickCounter window;
    window.resize(200, 200);
    window.show();
    AppDialogs dialogs(app, help, &window);
    whenModalOpens([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Return); });
    dialogs.openChannelName(0);
    EXPECT_EQ(app.channels().currentChannel(), 0);
    EXPECT_TRUE(app.channels().isDialogJustClosedRaised());
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(window.presses, 0);
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(window.presses, 1);
}
