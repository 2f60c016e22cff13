#pragma once

#include <string>

// The first stage of an uninstall on Linux, the program UninstallVeltaraRP8 in the
// installation folder. ErasePanel cannot delete a folder from a program that lives in
// it, so this stage copies ErasePanel to its fixed place outside and starts the copy
// with the installation folder. The window it holds meanwhile is the main program's
// business (see FirstStageMain.cpp).
class FirstStage {
public:
    FirstStage(std::string installFolder, std::string erasePanelCopyPath);

    // Copies ErasePanel and starts the copy in a session of its own, so it outlives this
    // program. Returns an empty text on success, else what went wrong.
    std::string startRemoval();

private:
    std::string copyErasePanel();
    std::string startCopy();

    std::string m_installFolder;
    std::string m_copyPath;
};
