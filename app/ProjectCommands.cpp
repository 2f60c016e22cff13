#include "app/ProjectCommands.h"

#include "app/DeskPanelApp.h"
#include "core/persistence/InstallationRecord.h"
#include "core/persistence/NativePath.h"
#include "core/persistence/PathText.h"
#include "core/records/BackupKeeper.h"

#include <QApplication>
#include <QDir>

#include <filesystem>
#include <utility>

namespace deskpanel {

using SaveOutcome = ProjectFiles::SaveOutcome;

ProjectCommands::ProjectCommands(DeskPanelApp& app, FileDialogs& dialogs, ProfileLocations locations,
                                 CommandWindow& window)
    : m_app(app),
      m_dialogs(dialogs),
      m_locations(std::move(locations)),
      m_window(window),
      m_recent(m_locations.settingsFile, app.operatorPort()),
      m_files(app.project(), app.operatorPort(), app.timers(), dialogs, m_recent, m_locations.settingsFile,
              [&app] { app.channels().resetAllChannels(); }),
      m_safesFile(app.project(), app.operatorPort())
{
    m_files.setBackgroundWork(&m_work);
    // The autosave never opens over a dialog or a box, nor runs inside another operation.
    m_files.setAutosaveBlocker([] { return QApplication::activeModalWidget() != nullptr; });
    m_files.setOperationGate(&app.channels().gate());
    // Whichever path saved (Save, autosave, Save As, Exit's save), the title follows.
    m_files.addSavedHook([this](const std::string&) { m_window.showProject(); });
    m_waitingCommandTimer.setInterval(WaitingCommandPollMs);
    QObject::connect(&m_waitingCommandTimer, &QTimer::timeout, [this] { runWaitingCommand(); });
    // The recall safes are written beside every file saved and read with every file opened.
    m_safesFile.attachTo(m_files);
}

bool ProjectCommands::isBusy() const
{
    return m_files.isBusy() || m_work.isBusy();
}

bool ProjectCommands::mustWait() const
{
    return isBusy() || m_app.channels().gate().isHeld();
}

void ProjectCommands::runWhenNotSaving(const char* operation, std::function<void()> command)
{
    auto held = [this, operation, command = std::move(command)] {
        auto hold = m_app.channels().gate().enter(operation);
        command();
    };
    if (!mustWait()) {
        held();
        return;
    }
    m_waitingCommand = std::move(held);
    m_waitingCommandTimer.start();
}

void ProjectCommands::runWaitingCommand()
{
    // The save's own boxes and dialogs (and the Open dialog after a save question) are
    // not to be interrupted either.
    if (mustWait() || QApplication::activeModalWidget() != nullptr)
        return;
    m_waitingCommandTimer.stop();
    const auto command = std::exchange(m_waitingCommand, {});
    if (command)
        command();
}

void ProjectCommands::loadRecentFiles()
{
    m_recent.load();
}

void ProjectCommands::enterLastUsedDirectory()
{
    const std::string folder = readLastUsedDirectory(m_locations.settingsFile);
    if (!folder.empty())
        QDir::setCurrent(QString::fromStdString(folder));
}

void ProjectCommands::openAtStart(const std::optional<std::string>& path)
{
    Project& project = m_app.project();
    if (path) {
        project.projectPath = *path;
        m_files.open(*path);
    } else {
        project.projectPath = readLastUsedDirectory(m_locations.settingsFile) + ProjectFiles::NewProjectFileName;
        m_app.channels().resetAllChannels();
    }
    m_app.channels().notifyProjectReplaced();
    m_window.showProject();
}

bool ProjectCommands::savePrompt(const char* question)
{
    if (m_app.operatorPort().decide(question) != Decision::Yes)
        return true;
    // A cancelled or failed save stops the command: nothing is lost.
    return saveForExit() == SaveOutcome::Saved;
}

SaveOutcome ProjectCommands::saveForExit()
{
    return m_app.project().hasFile ? m_files.save() : m_files.saveAs();
}

void ProjectCommands::resetToNewProject()
{
    Project& project = m_app.project();
    project.resetToNewProject(readLastUsedDirectory(m_locations.settingsFile));
    // No scene of the old project follows the live settings any more.
    project.followedSceneName.clear();
    project.sceneFollowing = false;
    // Memberships and their flags go, present units get the defaults, the strips show
    // their reset gain texts.
    m_app.channels().resetAllChannels();
    m_app.channels().notifyProjectReplaced();
    m_window.showProject();
}

void ProjectCommands::newProject()
{
    runWhenNotSaving("New", [this] {
        if (savePrompt(NewProjectQuestion))
            resetToNewProject();
    });
}

void ProjectCommands::open()
{
    runWhenNotSaving("Open", [this] {
        if (!savePrompt(OpenQuestion))
            return;
        const auto path = m_files.askOpenPath();
        if (path)
            openPath(*path);
    });
}

void ProjectCommands::openRecent(int index)
{
    const auto& entries = m_recent.entries();
    if (index < 0 || index >= static_cast<int>(entries.size()))
        return;
    // The entry chosen, not its place: the save being written may move it down the list.
    const std::string path = entries[static_cast<std::size_t>(index)];
    runWhenNotSaving("Open", [this, path] {
        if (!savePrompt(OpenQuestion))
            return;
        // The same path as Open: the project takes the path only when the file opens.
        openPath(path);
    });
}

void ProjectCommands::keepBackups(BackupKeeper& keeper)
{
    m_backups = &keeper;
    // Each save commits the copy it staged itself, never another save's.
    m_files.addWriteCompanion([this, &keeper](const std::string& path) -> ProjectFiles::SaveEnd {
        const BackupKeeper::Token token = keeper.stage(path);
        return [this, &keeper, token, path](bool written) {
            if (!written) {
                keeper.discard(token);
                return;
            }
            const std::string failure = keeper.commit(token, path);
            if (failure.empty() || m_backupFailureReported)
                return;
            m_backupFailureReported = true;
            m_app.operatorPort().message(failure + " The project itself was saved.");
        };
    });
}

void ProjectCommands::openBackup(const std::function<std::string()>& choose)
{
    runWhenNotSaving("Open backup", [this, choose] {
        // Asked before the list, as Open asks before its dialog: the save's backup is in
        // the list, and its pruning cannot take the backup chosen afterwards.
        if (!savePrompt(OpenQuestion))
            return;
        const std::string path = choose();
        if (path.empty())
            return;
        std::optional<BackupKeeper::Held> held;
        if (m_backups)
            held.emplace(*m_backups, path); // a save still being written may prune meanwhile
        m_files.openAsCopy(path, readLastUsedDirectory(m_locations.settingsFile) + ProjectFiles::NewProjectFileName);
        m_app.channels().notifyProjectReplaced();
        m_window.showProject();
    });
}

void ProjectCommands::openPath(const std::string& path)
{
    m_files.open(path);
    m_app.channels().notifyProjectReplaced();
    m_window.showProject();
}

// A save waits for a write in flight and for any other operation, as New and Open do.
void ProjectCommands::save()
{
    // Each save's backup holds the file as that save found it. A command already
    // waiting is a save or asks for one itself: it stays.
    if (mustWait() && m_waitingCommand)
        return;
    runWhenNotSaving("Save", [this] { m_files.save(); });
}

void ProjectCommands::saveAs()
{
    runWhenNotSaving("Save As", [this] { m_files.saveAs(); });
}

bool ProjectCommands::exit()
{
    // Exit inside another operation's box would end the program under it.
    auto hold = m_app.channels().gate().enter("Exit");
    if (!hold) {
        m_app.operatorPort().beep();
        return false;
    }
    // A file still being written is finished first.
    m_files.waitForWrite();
    const Decision answer = m_app.operatorPort().decideThreeWay(ExitQuestion, [this] { m_files.saveAs(); });
    if (answer == Decision::Cancel)
        return false;
    if (answer == Decision::Yes && saveForExit() != SaveOutcome::Saved)
        return false;
    m_files.waitForWrite();
    m_window.storePlacement();
    if (!m_app.project().projectPath.empty())
        m_recent.add(m_app.project().projectPath);
    for (TimerId id : {TimerId::Poll, TimerId::OfflineCheck, TimerId::Autosave, TimerId::Refresh})
        m_app.timers().stop(id);
    m_app.stop();
    // The remover starts only now that Exit has completed, a little after the window
    // has gone.
    if (!m_removerAfterExit.empty())
        m_window.startDetachedLater(m_removerAfterExit, RemoverDelayMs);
    m_window.closeForGood();
    return true;
}

void ProjectCommands::uninstall()
{
    if (m_app.operatorPort().decide(UninstallQuestion) != Decision::Yes)
        return;
    // The installation this copy belongs to: its own folder when the remover is there (an
    // installation for one user beside one for all, say), else the one the record names.
    std::string folder = m_locations.programFolder;
    std::error_code unreadable;
    if (folder.empty() || !std::filesystem::is_regular_file(nativePath(folder + RemoverName), unreadable))
        folder = readInstallationFolder(m_locations);
    if (folder.empty())
        return;
    // The remover deletes this program's files: a cancelled Exit, a cancelled Save As or
    // a failed save starts nothing.
    m_removerAfterExit = folder + RemoverName;
    if (!exit())
        m_removerAfterExit.clear();
}

} // namespace deskpanel
