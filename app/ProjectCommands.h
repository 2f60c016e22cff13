#pragma once
#include "app/QtBackgroundWork.h"
#include "core/persistence/ProfileLocations.h"
#include "core/persistence/ProjectFiles.h"
#include "core/persistence/RecallSafesSidecar.h"
#include "core/persistence/RecentFileList.h"

#include <QTimer>

#include <functional>
#include <optional>
#include <string>

namespace deskpanel {

class BackupKeeper;
class DeskPanelApp;

// What the commands need of the main window.
class CommandWindow {
public:
    virtual ~CommandWindow() = default;
    // The project was replaced or renamed: title, scene list, label, header, views.
    virtual void showProject() = 0;
    // The last steps of Exit: write the window's placement, close it for good.
    virtual void storePlacement() = 0;
    virtual void closeForGood() = 0;
    // Starts a program on its own `delayMs` from now (Uninstall's remover), even though
    // the window closes meanwhile; the program ends once it has been started.
    virtual void startDetachedLater(const std::string& program, int delayMs) = 0;
};

// The commands of the Files menu and their relatives: New Project, Open, Save, Save As,
// the recent files, Exit and Uninstall, each with its prompts. A save that fails or is
// cancelled stops the command that asked for it. Owns the recent file list and the
// project file operations (autosave included).
class ProjectCommands {
public:
    static constexpr const char* NewProjectQuestion = "Save changes to curent project\n before creating new project?";
    static constexpr const char* OpenQuestion = "Save changes to current project before opening?";
    static constexpr const char* ExitQuestion = "Do you want to save any changes you made?";
    static constexpr const char* UninstallQuestion = "Are you sure?";
    // The first stage of the uninstall, as it follows the installation folder.
#ifdef _WIN32
    static constexpr const char* RemoverName = "\\UninstallVeltaraRP8.exe";
#else
    static constexpr const char* RemoverName = "/UninstallVeltaraRP8";
#endif
    static constexpr int RemoverDelayMs = 100;

    ProjectCommands(DeskPanelApp& app, FileDialogs& dialogs, ProfileLocations locations, CommandWindow& window);

    // Start-up: the recent files, and the last used directory made the current one.
    void loadRecentFiles();
    void enterLastUsedDirectory();
    // Start-up: the project named on the command line, or a new project in the last
    // used directory.
    void openAtStart(const std::optional<std::string>& path);

    void newProject();
    void open();
    void save();
    void saveAs();
    // Entry `index` (0-based) of the recent files.
    void openRecent(int index);
    // True when the program may end (the window then closes).
    bool exit();
    void uninstall();
    // From now on every save keeps the file it replaces with `keeper`; a backup that
    // cannot be made is reported once and never stops the save.
    void keepBackups(BackupKeeper& keeper);
    // Opens a backup as an unnamed copy: the save question first (as Open asks before
    // its dialog), then `choose` picks the backup's path (empty: none); the backup is
    // not pruned while it is opened. The last used directory and the recent list stay
    // as they are.
    void openBackup(const std::function<std::string()>& choose);

    RecentFileList& recent()
    {
        return m_recent;
    }
    ProjectFiles& files()
    {
        return m_files;
    }
    // A save or an open is under way.
    bool isBusy() const;

private:
    static constexpr int WaitingCommandPollMs = 10;

    // New, Open, a recent entry, Open Backup, Save and Save As never run inside a save:
    // while a file is being written the command waits (the latest one asked for) and
    // runs once the save has ended and no box is open.
    // A save, an open or another operation is under way: saves and the commands that
    // replace the project wait.
    bool mustWait() const;
    // The command holds the operation gate while it runs.
    void runWhenNotSaving(const char* operation, std::function<void()> command);
    void runWaitingCommand();
    // Save with the "Save changes" question; true when the command may go on.
    bool savePrompt(const char* question);
    ProjectFiles::SaveOutcome saveForExit();
    void openPath(const std::string& path);
    // New Project as one operation: model, links, units, strips and every view.
    void resetToNewProject();

    DeskPanelApp& m_app;
    FileDialogs& m_dialogs;
    ProfileLocations m_locations;
    CommandWindow& m_window;
    QtBackgroundWork m_work;
    RecentFileList m_recent;
    ProjectFiles m_files;
    RecallSafesSidecar m_safesFile;
    std::string m_removerAfterExit; // set while Uninstall runs Exit
    std::function<void()> m_waitingCommand;
    QTimer m_waitingCommandTimer;
    bool m_backupFailureReported = false;
    BackupKeeper* m_backups = nullptr;
};

} // namespace deskpanel
