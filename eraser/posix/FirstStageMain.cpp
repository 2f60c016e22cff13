// UninstallVeltaraRP8: started by DeskPanel, without arguments, from the installation
// folder that is to be removed.
#include <QApplication>
#include <QWidget>

#include <iostream>
#include <memory>
#include <string>

#include "FirstStage.h"
#include "PackageManager.h"
#include "PosixMessageBox.h"
#include "RemovalTexts.h"
#include "UninstallLayout.h"
#include "X11WindowFinder.h"

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << "usage: UninstallVeltaraRP8 [/S]\n"
                     "Removes DeskPanel from the folder this program runs from.\n"
                     "/S: no messages, here or from ErasePanel; exit code 0 when the removal has started.\n";
        return 0;
    }
    const bool silent = argc == 2 && std::string(argv[1]) == "/S";
    static int qtArgc = 1; // the command line is not Qt's to interpret
    bool windows = PosixMessageBox::canShowWindows(X11WindowFinder::fromEnvironment().hasDisplay());
    std::unique_ptr<QApplication> application;
    std::unique_ptr<QWidget> window;
    if (windows && argc > 0) {
        application = std::make_unique<QApplication>(qtArgc, argv);
        // ErasePanel waits while a window with this title exists: it tells that this program
        // still runs from inside the folder to be deleted. It need not be shown to count.
        window = std::make_unique<QWidget>();
        window->setWindowTitle(RemovalTexts::FirstStageWindowTitle);
        window->winId();
        QApplication::processEvents();
    }

    DpkgPackageManager packages;
    FirstStage::Result result = FirstStage(UninstallLayout::ownProgramFolder(), UninstallLayout::erasePanelCopyPath(),
                                           packages, UninstallLayout::userPlaces(), silent)
                                    .run();
    window.reset();
    if (!silent && !result.message.empty()) {
        std::unique_ptr<PosixMessageBox> messages =
            application ? std::make_unique<PosixMessageBox>() : std::make_unique<PosixMessageBox>(std::cin, std::cerr);
        messages->show(RemovalTexts::Caption, result.message);
    }
    return result.exitCode;
}
