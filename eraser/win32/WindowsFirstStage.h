#pragma once

#include <string>
#include <vector>

// The first stage of an uninstall on Windows, the program UninstallVeltaraRP8.exe in the
// installation folder.
//
// An installation for all users is removed only by an administrator, so a first stage
// started without elevation starts itself again with "runas" and passes on that copy's
// exit code. DeskPanel must have ended first, or its files could not go: this stage waits
// for its mutex to disappear and, when that takes long, asks the operator to close it.
// ErasePanel cannot delete the folder from a program that lives in it, so this stage then
// copies ErasePanel to "C:\ErasePanel.exe" (or, for a user who may not write C:\, to the
// user's temporary folder) and starts the copy with the folder; ErasePanel removes the
// entries outside the folder once the program has gone. The window ErasePanel waits for
// is held by the caller meanwhile.
class WindowsFirstStage {
public:
    static constexpr const char* ErasePanelName = "ErasePanel.exe";
    // DeskPanel holds this mutex from its start to its end.
    static constexpr const char* DeskPanelMutex = "PreventSecondInstance";

    // Exit codes of the program.
    static constexpr int Started = 0; // ErasePanel is removing the installation
    static constexpr int Failed = 1; // nothing has been removed; the message says why
    static constexpr int DeskPanelRunning = 3; // DeskPanel did not end; nothing removed
    static constexpr int NotElevated = 4; // administrator rights were refused

    struct Result {
        int exitCode = Started;
        std::string message; // for the operator; empty when there is nothing to say
    };

    // arguments: the command line after the program's name ("/S" for the silent form),
    // handed on unchanged to an elevated copy.
    WindowsFirstStage(std::string installFolder, std::string arguments);

    Result run();

    // Where the copy of ErasePanel may go, in the order they are tried.
    static std::vector<std::string> copyTargets(const std::string& temporaryFolder);

private:
    bool isPerMachine() const;
    Result runElevated();
    bool waitForDeskPanelToEnd();
    std::string copyErasePanel();
    std::string startCopy();

    std::string m_installFolder;
    std::string m_arguments;
    bool m_silent;
    std::string m_copyPath;
};
