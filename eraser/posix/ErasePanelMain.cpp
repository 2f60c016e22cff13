// ErasePanel on Linux: run by the first stage of the uninstall from its fixed place,
// with the installation folder as its argument.
#include <QApplication>

#include <iostream>
#include <memory>
#include <string>

#include "ErasePanel.h"
#include "PosixMessageBox.h"
#include "PosixPlatform.h"
#include "UninstallLayout.h"
#include "X11WindowFinder.h"

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << "usage: ErasePanel FOLDER\n"
                     "Removes the DeskPanel installation in FOLDER (a full path). The uninstall starts it;\n"
                     "it refuses any folder that does not hold the DeskPanel program.\n";
        return 0;
    }
    // The whole rest of the command line is the folder, blanks and all; a caller that
    // forgot to quote a path with blanks gets it back as it was meant.
    std::string folder;
    for (int i = 1; i < argc; ++i)
        folder += (i > 1 ? " " : "") + std::string(argv[i]);

    X11WindowFinder windows = X11WindowFinder::fromEnvironment();
    static int qtArgc = 1; // the folder is not Qt's to interpret
    std::unique_ptr<QApplication> application;
    if (PosixMessageBox::canShowWindows(windows.hasDisplay()) && argc > 0) {
        application = std::make_unique<QApplication>(qtArgc, argv);
    }
    PosixMessageBox messages = application ? PosixMessageBox() : PosixMessageBox(std::cin, std::cout);

    PosixPlatform platform(messages, windows);
    return ErasePanel(platform, UninstallLayout::erasePanelCopyPath()).run(folder);
}
