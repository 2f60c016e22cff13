// The real main window on the screens main() gives the offscreen platform: it takes the
// compact layout, and its frame and its minimum fit the screen's work area.
#include "app/DeskPanelApp.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"
#include "ui/main/MainWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace deskpanel::test {
namespace {

TEST(SmallScreen, TheWindowTakesTheCompactLayoutAndFitsTheWorkArea)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2);
    for (QScreen* screen : screens) {
        SCOPED_TRACE(screen->name().toStdString());
        TempFolder folder;
        ScriptedOperator op;
        DeskPanelApp app{LinkPorts{0, 0}, op};
        MainWindowOptions options = MainWindowOptions::inFolder(folder.path());
        options.metrics = DisplayMetrics::of(screen); // 96 and 144 device pixels per inch
        MainWindow window(app, options);
        window.move(screen->geometry().topLeft());
        EXPECT_EQ(window.layout().windowSize.height(), 632) << "the compact layout";
        window.start();
        ASSERT_TRUE(QTest::qWaitFor([&window] { return window.hasShown(); }, 5000));
        const QRect work = screen->availableGeometry();
        EXPECT_TRUE(work.contains(window.frameGeometry()));
        EXPECT_LE(window.minimumHeight() + window.frameGeometry().height() - window.height(), work.height());
        EXPECT_EQ(window.screen(), screen);
    }
}

} // namespace
} // namespace deskpanel::test
