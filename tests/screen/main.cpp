// The main window on small and scaled screens: the offscreen platform is given two
// screens of its own before the application starts, a 1366 x 768 one at 96 pixels per
// inch and a 1920 x 1080 one scaled to 150 %.
#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {
constexpr const char* ScreensJson = R"({
    "screens": [
        {"name": "small", "x": 0, "y": 0, "width": 1366, "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96},
        {"name": "scaled", "x": 1366, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 144, "logicalBaseDpi": 96}
    ]
})";
} // namespace

int main(int argc, char** argv)
{
    const QString config = QDir::temp().filePath(QStringLiteral("deskpanel-screens-%1.json").arg(getpid()));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(ScreensJson) < 0)
        return 2;
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    QApplication application(argc, argv);
    QFile::remove(config);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
