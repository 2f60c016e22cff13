#pragma once

#include <string>

#include "RemovalPlatform.h"

// The removal program's whole run: announce, wait for the first stage of the uninstall
// to let go of its files, delete the installation folder, arrange for the program's own
// file to go, and say how it went.
class ErasePanel {
public:
    // Exit codes of the program.
    static constexpr int Removed = 0;
    static constexpr int LeftBehind = 1; // the installation folder, or part of it, remains
    static constexpr int Refused = 2; // nothing was touched

    // ownProgramPath is the fixed place that the first stage copies this program to.
    ErasePanel(RemovalPlatform& platform, std::string ownProgramPath);

    int run(const std::string& installFolder);

private:
    void waitForFirstStageToClose();

    RemovalPlatform& m_platform;
    std::string m_ownProgramPath;
};
