// Makes the help documents that lie beside DeskPanel from the Markdown sources in docs/help:
//   deskpanel_helpdocs SOURCES PICTURES OUT
// PICTURES is the gallery's folder of screenshots; OUT receives the three PDF documents and
// the quick-reference folder. Prints one line per document with its page count.
#include "tools/common/FolderToolArgs.h"
#include "tools/helpdocs/HelpDocument.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

namespace {

struct Output {
    const char* source;
    const char* file; // under OUT
    const char* title;
};

const Output Outputs[] = {
    {"quickstart.md", "Tessaly Quickstart.pdf", "DeskPanel Quick Start"},
    {"user-guide.md", "Tessaly User Guide.pdf", "DeskPanel User Guide"},
    {"link-help.md", "Tessaly Link Help.pdf", "DeskPanel Link Groups"},
    {"linked-channel-names.md", "QUICKREFERENCE/LINKED_CHANNEL_NAMES.HTM", "Linked Channel Names"},
};

} // namespace

const char* const Usage = "usage: deskpanel_helpdocs SOURCES PICTURES OUT\n"
                          "Makes the help documents from the Markdown in SOURCES, with the screenshots in\n"
                          "PICTURES, as PDF files and the QUICKREFERENCE folder in OUT.\n";

int main(int argc, char** argv)
{
    if (FolderToolArgs::asksForHelp(argc, argv)) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (argc != 4) {
        std::fputs(Usage, stderr);
        return 2;
    }
    FolderToolArgs::preferOffscreen();
    QGuiApplication app(argc, argv);
    const QDir sources(QString::fromLocal8Bit(argv[1]));
    const QDir pictures(QString::fromLocal8Bit(argv[2]));
    const QDir out(QString::fromLocal8Bit(argv[3]));
    if (!out.mkpath(QStringLiteral("QUICKREFERENCE"))) {
        std::fprintf(stderr, "deskpanel_helpdocs: cannot make %s\n", argv[3]);
        return 1;
    }
    for (const Output& o : Outputs) {
        QFile source(sources.filePath(QString::fromLatin1(o.source)));
        if (!source.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "deskpanel_helpdocs: cannot read %s\n", qPrintable(source.fileName()));
            return 1;
        }
        const HelpDocument document(QString::fromUtf8(source.readAll()), pictures);
        const QString path = out.filePath(QString::fromUtf8(o.file));
        const QString title = QString::fromLatin1(o.title);
        const bool html = path.endsWith(QStringLiteral(".HTM"));
        const int pages = html ? (document.writeHtml(path, title) ? 1 : 0) : document.writePdf(path, title);
        if (pages == 0) {
            std::fprintf(stderr, "deskpanel_helpdocs: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s: %s", o.file, html ? "HTML" : qPrintable(QStringLiteral("%1 pages").arg(pages)));
        if (!document.missingPictures().isEmpty())
            std::printf(" (pictures not found: %s)", qPrintable(document.missingPictures().join(QStringLiteral(", "))));
        std::printf("\n");
    }
    return 0;
}
