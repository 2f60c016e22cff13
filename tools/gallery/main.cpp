// Writes the program's artwork, controls and boxes to PNG files for review:
//   deskpanel_gallery DIR
#include "ui/Gallery.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(DESKPANEL_VERSION));
    if (argc != 2) {
        std::fprintf(stderr, "usage: deskpanel_gallery DIR\n");
        return 2;
    }
    const int written = Gallery::renderAll(QString::fromLocal8Bit(argv[1]));
    if (written < 0) {
        std::fprintf(stderr, "deskpanel_gallery: cannot make %s\n", argv[1]);
        return 1;
    }
    std::printf("%d images written to %s\n", written, argv[1]);
    return 0;
}
