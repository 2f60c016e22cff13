#pragma once

#include <string>
#include <vector>

#include "RemovalPlatform.h"

// The removal program's whole run: announce, wait for the first stage of the uninstall
// to let go of its files, delete the files the installer listed, arrange for the
// program's own file to go, and say how it went.
class ErasePanel {
public:
    // Exit codes of the program.
    static constexpr int Removed = 0;
    static constexpr int LeftBehind = 1; // the installation folder, or part of it, remains
    static constexpr int Refused = 2; // nothing was touched

    // Silent: no message at all, the exit code alone tells how it went.
    enum class Messages {
        Shown,
        Silent
    };

    // ownProgramPath is the fixed place that the first stage copies this program to.
    ErasePanel(RemovalPlatform& platform, std::string ownProgramPath, Messages messages = Messages::Shown);

    int run(const std::string& installFolder);

private:
    void say(const std::string& text);
    void waitForFirstStageToClose();
    std::string leftBehindText(const std::string& folder, const std::vector<std::string>& notDeleted,
                               const std::vector<std::string>& notListed) const;

    RemovalPlatform& m_platform;
    std::string m_ownProgramPath;
    Messages m_messages;
};
