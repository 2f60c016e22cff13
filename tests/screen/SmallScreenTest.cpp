// The real main window on the screens main() gives the offscreen platform: it takes the
// compact layout, and its frame and its minimum fit the screen's work area.
#include "app/DeskPanelApp.h"
#include "tests/support/ScriptedFileDialogs.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"
#include "ui/main/MainWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace deskpanel::test {
namespace {

QScreen* screenNamed(const QString& name)
{
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name)
            return screen;
    return nullptr;
}

TEST(SmallScreen, TheWindowTakesTheCompactLayoutAndFitsTheWorkArea)
{
    struct Case {
        const char* screen;
        int effectiveDpi;
    };
    const Case cases[] = {{"small", 96}, {"scaled", 144}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen);
        QScreen* screen = screenNamed(QString::fromLatin1(c.screen));
        ASSERT_NE(screen, nullptr);
        TempFolder folder;
        ScriptedOperator op;
        ScriptedFileDialogs fileDialogs;
        DeskPanelApp app{LinkPorts{0, 0}, op};
        MainWindowOptions options = MainWindowOptions::inFolder(folder.path());
        options.metrics = DisplayMetrics::of(screen);
        options.fileDialogs = &fileDialogs;
        options.helpFolder = QString::fromStdString(folder.path());
        EXPECT_EQ(options.metrics.effectiveDpi(), c.effectiveDpi);
        {
            MainWindow window(app, options);
            window.move(screen->geometry().topLeft());
            EXPECT_TRUE(window.layout().windowSize.height() < 700) << "the compact layout";
            window.start();
            ASSERT_TRUE(QTest::qWaitFor([&window] { return window.hasShown(); }, 5000));
            QTest::qWait(50);
            const QRect work = screen->availableGeometry();
            EXPECT_TRUE(work.contains(window.frameGeometry()))
                << window.frameGeometry().x() << "," << window.frameGeometry().y() << " "
                << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " in " << work.width()
                << "x" << work.height();
            const int frameHeight = window.frameGeometry().height() - window.height();
            EXPECT_LE(window.minimumHeight() + frameHeight, work.height()) << "it can be shrunk to fit";
            EXPECT_EQ(window.screen(), screen);
        }
        app.stop();
    }
}

} // namespace
} // namespace deskpanel::test
