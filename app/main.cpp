#include "app/DeskPanelApp.h"
#include "app/SingleInstance.h"
#include "app/SystemHighlight.h"
#include "core/persistence/ProfileLocations.h"
#include "ui/dialogs/QtOperator.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication::setApplicationName(QStringLiteral("DeskPanel"));
    QApplication::setApplicationVersion(QStringLiteral(DESKPANEL_VERSION));

    // --help and --version answer on the terminal before any display is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Remote control of RP-8 microphone preamplifiers."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("project"), QStringLiteral("A project file (.vpf) to open."),
                                 QStringLiteral("[project]"));
    const auto helpText = [&parser] {
        return parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("DeskPanel"));
    };
    // Qt's own options (-platform ...) are only known once the application takes them.
    parser.parse(arguments);
    if (parser.isSet(help)) {
        std::printf("%s", qPrintable(helpText()));
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("DeskPanel %s\n", DESKPANEL_VERSION);
        return 0;
    }

    QApplication application(argc, argv);
    if (!parser.parse(QCoreApplication::arguments()) || parser.positionalArguments().size() > 1) {
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
    deskpanel::MainWindow window(app, std::move(options));
    op.setParentWindow(&window);
    window.start();
    const int result = QApplication::exec();
    app.stop();
    return result;
}
