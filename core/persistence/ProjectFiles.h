#pragma once
#include "core/host/BackgroundWork.h"
#include "core/host/FileDialogs.h"
#include "core/host/Operator.h"
#include "core/host/Timers.h"
#include "core/model/OperationGate.h"
#include "core/model/Project.h"
#include "core/model/SceneListListeners.h"
#include "core/persistence/RecentFileList.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace deskpanel {

// Opening and saving the project: Save, Save As, the autosave timer and Open, with the
// boxes and the settings that go with them.
class ProjectFiles {
public:
    enum class SaveOutcome {
        Saved,
        Cancelled,
        Failed
    };

    static constexpr const char* NewProjectFileName = "New Project.vpf";
    static constexpr const char* FilterName = "Veltara Project Files (*.vpf)";
    static constexpr const char* Pattern = "*.vpf";

    // `resetAllChannels` is the channel control's Reset all channels (defaults sent to
    // every present unit); it runs after a file has been read.
    ProjectFiles(Project& project, Operator& op, Timers& timers, FileDialogs& dialogs, RecentFileList& recent,
                 std::string settingsFile, std::function<void()> resetAllChannels);
    ~ProjectFiles();

    void addListener(SceneListListener* listener) { m_listeners.add(listener); }
    void removeListener(SceneListListener* listener) { m_listeners.remove(listener); }
    // Where the file is encoded and written; without one, on the calling thread.
    void setBackgroundWork(BackgroundWork* work) { m_work = work ? work : &m_inlineWork; }
    // True while something the autosave must not interrupt is under way (a modal
    // window is open); the autosave then waits for its next turn.
    void setAutosaveBlocker(std::function<bool()> blocked) { m_autosaveBlocked = std::move(blocked); }
    // The autosave is an operation: it waits while another holds the gate, and holds it
    // for its own boxes.
    void setOperationGate(OperationGate* gate) { m_gate = gate; }
    // A save, Save As or Open is under way.
    bool isBusy() const { return m_busy; }
    // Runs on the UI thread after every successful write of the project file (Save,
    // autosave, Save As, the save that Exit or a question starts), once the project has
    // taken the path it was written to: the title, the recent list, files kept beside
    // the project. Hooks run in the order they were added.
    using SavedHook = std::function<void(const std::string& path)>;
    void addSavedHook(SavedHook hook) { m_savedHooks.push_back(std::move(hook)); }
    // Runs after a file has replaced the project (read whole or not), with its path:
    // files kept beside the project are read here. Not run when the file could not be
    // opened and the project stayed as it was.
    using OpenedHook = std::function<void(const std::string& path)>;
    void addOpenedHook(OpenedHook hook) { m_openedHooks.push_back(std::move(hook)); }
    // Runs where the file is written (the background worker), just before the file at
    // `path` is replaced, in the order added: what must be taken from the file the save
    // replaces (its backup). A hook must not fail the save; it reports through the
    // saved hooks, which run only when the write succeeded.
    using BeforeWriteHook = std::function<void(const std::string& path)>;
    void addBeforeWriteHook(BeforeWriteHook hook) { m_beforeWriteHooks.push_back(std::move(hook)); }
    // A before-write hook whose save has something of its own to finish: it returns what
    // runs on the UI thread once that save's write has ended (after the saved hooks when
    // it succeeded), told whether the file was written. What one save took from the old
    // file thus goes to that save's end alone, even when another save starts meanwhile.
    using SaveEnd = std::function<void(bool written)>;
    using WriteCompanion = std::function<SaveEnd(const std::string& path)>;
    void addWriteCompanion(WriteCompanion companion) { m_writeCompanions.push_back(std::move(companion)); }
    // Returns when no file is being written.
    void waitForWrite() { m_work->waitUntilIdle(); }

    // Save: writes to the project's path, or runs Save As while the project is still
    // called "New Project.vpf".
    SaveOutcome save();
    // Asks for a path, writes the file there and enters it into the recent file list.
    SaveOutcome saveAs();
    // Writes the project file to `path` and, when it was written, gives every scene the
    // current channel names, clears the modified markers, sets `hasFile` and runs the
    // saved hooks. On failure the operator is told, the previous file is untouched and
    // the project unchanged.
    SaveOutcome writeFile(const std::string& path);

    // Reads a project file. True when it was read to the end and its name accepted.
    bool open(const std::string& path);
    // Reads a project file as an unnamed copy (a backup): the project is then called
    // "New Project" at `newProjectPath`, so Save asks where; nothing is written to the
    // settings or the recent list. True when it was read to the end.
    bool openAsCopy(const std::string& path, const std::string& newProjectPath);

    // The Open dialog, started at the project's path; nothing when cancelled.
    std::optional<std::string> askOpenPath();

private:
    // Save As takes the path it wrote to (and enters it into the recent list) before the
    // saved hooks run.
    enum class TakePath {
        No,
        Yes
    };
    SaveOutcome write(const std::string& path, TakePath takePath);
    // The part of opening that reads the file; false when it could not be read whole.
    bool readFile(const std::string& path);
    void autosave();
    void applySaved(const Project& saved);

    Project& m_project;
    Operator& m_operator;
    Timers& m_timers;
    FileDialogs& m_dialogs;
    RecentFileList& m_recent;
    std::string m_settingsFile;
    std::function<void()> m_resetAllChannels;
    SceneListListeners m_listeners;
    std::vector<SavedHook> m_savedHooks;
    std::vector<OpenedHook> m_openedHooks;
    std::vector<BeforeWriteHook> m_beforeWriteHooks;
    std::vector<WriteCompanion> m_writeCompanions;
    std::string m_lastSaveAsPath;
    bool m_busy = false;
    std::function<bool()> m_autosaveBlocked;
    OperationGate* m_gate = nullptr;
    InlineWork m_inlineWork;
    BackgroundWork* m_work = &m_inlineWork;
};

} // namespace deskpanel
