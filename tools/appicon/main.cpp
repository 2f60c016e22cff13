// Renders the program's icon (picture 128 of the artwork) into a hicolor icon theme tree:
//   deskpanel_appicon DIR   ->  DIR/<N>x<N>/apps/deskpanel.png for N = 16, 32, 48, 128, 256
// The picture is painted by code at each size, so every size is drawn, not scaled.
#include "tools/common/FolderToolArgs.h"
#include "ui/controls/ImageRegistry.h"

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <optional>

using namespace deskpanel;

namespace {
const char* const Usage = "usage: deskpanel_appicon DIR\n"
                          "Renders the program's icon as DIR/<N>x<N>/apps/deskpanel.png for N = 16, 32, 48,\n"
                          "128 and 256 (a hicolor icon theme folder).\n";
} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> exitCode = FolderToolArgs::check(argc, argv, Usage))
        return *exitCode;
    FolderToolArgs::preferOffscreen();
    QGuiApplication app(argc, argv);
    const QString icon = ImageRegistry::key(128);
    const ImageRegistry& images = ImageRegistry::instance();
    const int logical = images.size(icon).width();
    if (logical <= 0) {
        std::fprintf(stderr, "deskpanel_appicon: the artwork has no application icon\n");
        return 1;
    }
    for (int size : {16, 32, 48, 128, 256}) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        QPixmap picture = images.pixmap(icon, qreal(size) / logical);
        picture.setDevicePixelRatio(1.0);
        if (!QDir().mkpath(folder) || picture.size() != QSize(size, size) ||
            !picture.save(folder + QStringLiteral("/deskpanel.png"))) {
            std::fprintf(stderr, "deskpanel_appicon: cannot write the %dx%d icon under %s\n", size, size, argv[1]);
            return 1;
        }
    }
    return 0;
}
