#pragma once

#include <string>

#include "UserIntegration.h"

class PackageManager;

// The first stage of an uninstall on Linux, the program UninstallVeltaraRP8 in the
// installation folder.
//
// A folder that the package manager installed is removed by removing the package (after
// the desktop's authentication); no file of it is deleted here. Any other folder is
// handed to ErasePanel: it cannot delete a folder from a program that lives in it, so this
// stage copies ErasePanel to its fixed place outside, starts the copy with the folder, and
// removes the desktop files that the installation put outside the folder. The window it
// holds meanwhile is the main program's business (see FirstStageMain.cpp).
class FirstStage {
public:
    struct Result {
        int exitCode = 0; // 0: removed, or ErasePanel started to remove it
        std::string message; // for the operator; empty when ErasePanel speaks next
    };

    // silent: ErasePanel is started in its silent form ("/S FOLDER") too.
    FirstStage(std::string installFolder, std::string erasePanelCopyPath, PackageManager& packages,
               UserIntegration::Places userPlaces, bool silent = false);

    Result run();

private:
    Result removePackage(const std::string& package);
    // Copies ErasePanel and starts the copy in a session of its own, so it outlives this
    // program. Empty on success, else what went wrong.
    std::string startRemoval();
    std::string copyErasePanel();
    std::string startCopy();

    std::string m_installFolder;
    std::string m_copyPath;
    PackageManager& m_packages;
    UserIntegration::Places m_userPlaces;
    bool m_silent;
};
