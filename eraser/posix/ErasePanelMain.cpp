// ErasePanel on Linux: run by the first stage of the uninstall from its fixed place,
// with the installation folder as its argument.
#include <QApplication>

#include <iostream>
#include <memory>
#include <string>

#include "ErasePanel.h"
#include "PathRules.h"
#include "PosixMessageBox.h"
#include "PosixPlatform.h"
#include "UninstallLayout.h"
#include "X11WindowFinder.h"

int main(int argc, char** argv)
{
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << "usage: ErasePanel [/S] FOLDER\n"
                     "Removes the DeskPanel installation in FOLDER (a full path): the files listed in its\n"
                     "installed-files.txt, and the folders that become empty. The uninstall starts it;\n"
                     "it refuses any folder that does not hold the DeskPanel program and that list.\n"
                     "/S: no messages; exit code 0 removed, 1 something remains, 2 refused.\n";
        return 0;
    }
    // The whole rest of the command line is the folder, blanks and all; a caller that
    // forgot to quote a path with blanks gets it back as it was meant.
    std::string tail;
    for (int i = 1; i < argc; ++i)
        tail += (i > 1 ? " " : "") + std::string(argv[i]);
    const PathRules::RemovalArguments arguments = PathRules::removalArguments(tail);

    X11WindowFinder windows = X11WindowFinder::fromEnvironment();
    static int qtArgc = 1; // the folder is not Qt's to interpret
    std::unique_ptr<QApplication> application;
    if (!arguments.silent && PosixMessageBox::canShowWindows(windows.hasDisplay()) && argc > 0) {
        application = std::make_unique<QApplication>(qtArgc, argv);
    }
    PosixMessageBox messages = application ? PosixMessageBox() : PosixMessageBox(std::cin, std::cout);

    PosixPlatform platform(messages, windows);
    const ErasePanel::Messages shown = arguments.silent ? ErasePanel::Messages::Silent : ErasePanel::Messages::Shown;
    return ErasePanel(platform, UninstallLayout::erasePanelCopyPath(), shown).run(arguments.rest);
}
