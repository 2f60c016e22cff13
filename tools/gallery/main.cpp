// Writes the program's artwork, controls and boxes to PNG files for review:
//   deskpanel_gallery DIR
#include "ui/Gallery.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

namespace {
const char* const Usage = "usage: deskpanel_gallery DIR\n"
                          "Writes the program's artwork, controls and boxes as PNG files into DIR,\n"
                          "which is made when missing.\n";
} // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    // An option is never taken for the folder to write into.
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(Usage, stderr);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
