#include "app/ChannelSheetPdf.h"
#include "app/DeskPanelApp.h"
#include "app/EventLogging.h"
#include "app/ParentConsole.h"
#include "app/SheetExport.h"
#include "app/SingleInstance.h"
#include "app/SystemHighlight.h"
#include "core/persistence/ProfileLocations.h"
#include "ui/dialogs/QtOperator.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

// `--export-sheet`: no lock, no window and no unit; Qt draws offscreen whatever the
// display, and nothing of the operator's settings is read or written.
int exportSheet(const char* program, const QString& out, const std::optional<std::string>& scene, const QString& paper,
                const QString& project)
{
    int argc = 3;
    char platform[] = "-platform";
#ifdef _WIN32
    // The Windows build carries only the windows platform; it opens no window either
    // unless one is shown.
    char headless[] = "windows";
#else
    char headless[] = "offscreen";
#endif
    std::string name = program;
    char* argv[] = {name.data(), platform, headless, nullptr};
    QGuiApplication application(argc, argv);
    QPageSize::PageSizeId size = deskpanel::ChannelSheetPdf::defaultPaper();
    if (paper.compare(QStringLiteral("letter"), Qt::CaseInsensitive) == 0)
        size = QPageSize::Letter;
    else if (paper.compare(QStringLiteral("a4"), Qt::CaseInsensitive) == 0)
        size = QPageSize::A4;
    std::string error;
    const int code =
        deskpanel::SheetExport::fromProjectFile(QFileInfo(out).absoluteFilePath().toStdString(), scene,
                                                QFileInfo(project).absoluteFilePath().toStdString(), size, error);
    if (code != deskpanel::SheetExport::Done)
        std::fprintf(stderr, "DeskPanel: %s\n", error.c_str());
    return code;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication::setApplicationName(QStringLiteral("DeskPanel"));
    QApplication::setApplicationVersion(QStringLiteral(DESKPANEL_VERSION));

    // --help and --version answer on the terminal before any display is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Remote control of RP-8 microphone preamplifiers.\n"
                       "Setup > Remote Control serves OSC over UDP for show control (off until turned on).\n"
                       "Setup > Stage Remote serves the console to phone and tablet browsers, port 8480 by\n"
                       "default, to paired devices only (off until turned on; DeskPanel.INI, section\n"
                       "\"Stage Remote\"); over HTTPS when its Certificate and Key name PEM files."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption exportSheetOption(
        QStringLiteral("export-sheet"),
        QStringLiteral("Write the project's channel sheet to FILE (.csv or .pdf) and exit, without a window."),
        QStringLiteral("FILE"));
    const QCommandLineOption sceneOption(
        QStringLiteral("scene"),
        QStringLiteral("With --export-sheet: the scene's settings (its number, 2 or 002, or its name)."),
        QStringLiteral("SCENE"));
    const QCommandLineOption paperOption(QStringLiteral("paper"),
                                         QStringLiteral("With --export-sheet: the PDF's paper, A4 or Letter."),
                                         QStringLiteral("SIZE"));
    parser.addOption(exportSheetOption);
    parser.addOption(sceneOption);
    parser.addOption(paperOption);
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("A project file (.vpf) to open."),
                                 QStringLiteral("[project]"));
    const auto helpText = [&parser] {
        return parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("DeskPanel"));
    };
    // Qt's own options (-platform ...) are only known once the application takes them.
    parser.parse(arguments);
    if (parser.isSet(help) || parser.isSet(version) || parser.isSet(exportSheetOption) || parser.isSet(sceneOption) ||
        parser.isSet(paperOption))
        deskpanel::useParentConsole();
    if (parser.isSet(help)) {
        std::printf("%s", qPrintable(helpText()));
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("DeskPanel %s\n", DESKPANEL_VERSION);
        return 0;
    }
    if (parser.isSet(exportSheetOption) || parser.isSet(sceneOption) || parser.isSet(paperOption)) {
        const QString paper = parser.value(paperOption);
        const bool paperKnown = paper.isEmpty() || paper.compare(QStringLiteral("a4"), Qt::CaseInsensitive) == 0 ||
                                paper.compare(QStringLiteral("letter"), Qt::CaseInsensitive) == 0;
        if (!parser.parse(arguments) || !parser.isSet(exportSheetOption) || parser.positionalArguments().size() != 1 ||
            !paperKnown) {
            const QString reason = !parser.errorText().isEmpty() ? parser.errorText()
                                   : !parser.isSet(exportSheetOption)
                                       ? QStringLiteral("--scene and --paper go with --export-sheet.")
                                   : !paperKnown ? QStringLiteral("--paper is A4 or Letter.")
                                                 : QStringLiteral("--export-sheet needs one project file.");
            std::fprintf(stderr, "%s\n%s", qPrintable(reason), qPrintable(helpText()));
            return deskpanel::SheetExport::WrongUsage;
        }
        std::optional<std::string> scene;
        if (parser.isSet(sceneOption))
            scene = parser.value(sceneOption).toStdString();
        return exportSheet(argv[0], parser.value(exportSheetOption), scene, paper,
                           parser.positionalArguments().constFirst());
    }

    QApplication application(argc, argv);
    if (!parser.parse(QCoreApplication::arguments()) || parser.positionalArguments().size() > 1) {
        deskpanel::useParentConsole();
        std::fprintf(stderr, "%s\n%s", qPrintable(parser.errorText()), qPrintable(helpText()));
        return 2;
    }

    deskpanel::QtOperator op;
    // One copy only: a second one ends here, silently, before any window exists. A lock
    // that cannot be taken anywhere is reported, and this copy runs without it.
    deskpanel::SingleInstance instance;
    switch (instance.acquire()) {
    case deskpanel::SingleInstance::Outcome::Acquired: break;
    case deskpanel::SingleInstance::Outcome::HeldByAnotherCopy: return 0;
    case deskpanel::SingleInstance::Outcome::Failed:
        std::fprintf(stderr, "DeskPanel: %s\n", qPrintable(instance.errorText()));
        op.platformMessage(instance.errorText().toStdString());
        break;
    }

    // Changed for every program while this one runs, put back when it ends.
    const QColor highlight = deskpanel::MainWindow::HighlightColour;
    deskpanel::SystemHighlight systemHighlight(highlight.red(), highlight.green(), highlight.blue());

    deskpanel::MainWindowOptions options;
    options.locations =
        deskpanel::ProfileLocations::forThisUser("DeskPanel", QCoreApplication::applicationDirPath().toStdString());
    // Start-up changes to the last used directory: a relative path means this one.
    if (!parser.positionalArguments().isEmpty())
        options.projectFile = QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath().toStdString();

    deskpanel::DeskPanelApp app(deskpanel::LinkPorts{}, op);
    const std::string stateFolder = deskpanel::programStateFolder();
    deskpanel::EventLogging events(
        app, stateFolder.empty() ? std::string() : stateFolder + "/" + deskpanel::EventLogging::FileName,
        DESKPANEL_VERSION);
    options.eventLog = &events.log();
    options.stateFolder = stateFolder;
    deskpanel::MainWindow window(app, std::move(options));
    op.setParentWindow(&window);
    window.start();
    const int result = QApplication::exec();
    app.stop();
    events.close();
    return result;
}
