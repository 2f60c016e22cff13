#pragma once

#include <string>
#include <vector>

// The first stage of an uninstall on Windows, the program UninstallVeltaraRP8.exe in the
// installation folder.
//
// ErasePanel cannot delete the folder from a program that lives in it, so this stage
// copies ErasePanel to "C:\ErasePanel.exe" (or, for a user who may not write C:\, to the
// user's temporary folder) and starts the copy with the folder. It then removes what the
// installer and DeskPanel put outside the folder for this installation: the entry in
// "Apps and features", the Start menu shortcut, the installation record and the ".vpf"
// association. The window ErasePanel waits for is held by the caller meanwhile.
class WindowsFirstStage {
public:
    static constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DeskPanel";
    static constexpr const char* ShortcutName = "Veltara RP-8.lnk";
    static constexpr const char* ErasePanelName = "ErasePanel.exe";

    explicit WindowsFirstStage(std::string installFolder);

    // Empty on success, else what went wrong (nothing has been removed then).
    std::string run();

    // Where the copy of ErasePanel may go, in the order they are tried.
    static std::vector<std::string> copyTargets(const std::string& temporaryFolder);

private:
    std::string copyErasePanel();
    std::string startCopy();
    void removeShellEntries();

    std::string m_installFolder;
    std::string m_copyPath;
};
