// Writes the program's artwork, controls and boxes to PNG files for review:
//   deskpanel_gallery DIR
#include "tools/common/FolderToolArgs.h"
#include "tools/gallery/Gallery.h"

#include <QApplication>

#include <cstdio>
#include <optional>

namespace {
const char* const Usage = "usage: deskpanel_gallery DIR\n"
                          "Writes the program's artwork, controls and boxes as PNG files into DIR,\n"
                          "which is made when missing.\n";
} // namespace

int main(int argc, char** argv)
{
    if (const std::optional<int> exitCode = FolderToolArgs::check(argc, argv, Usage))
        return *exitCode;
    FolderToolArgs::preferOffscreen();
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(DESKPANEL_VERSION));
    const int written = Gallery::renderAll(QString::fromLocal8Bit(argv[1]));
    if (written < 0) {
        std::fprintf(stderr, "deskpanel_gallery: cannot make %s\n", argv[1]);
        return 1;
    }
    std::printf("%d images written to %s\n", written, argv[1]);
    return 0;
}
