#include "core/persistence/ProjectFiles.h"

#include "core/model/Text.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/PathText.h"
#include "core/persistence/ProjectFileReader.h"
#include "core/persistence/ProjectFileWriter.h"

namespace deskpanel {

namespace {

// Raised while a save or an open is under way, so an autosave that falls due while one
// of its boxes is open, or while the file is being written, does not start a second one
// inside it.
class BusyFlag {
public:
    explicit BusyFlag(bool& flag) : m_flag(flag), m_was(flag) { m_flag = true; }
    ~BusyFlag() { m_flag = m_was; }

private:
    bool& m_flag;
    bool m_was;
};

} // namespace

ProjectFiles::ProjectFiles(Project& project, Operator& op, Timers& timers, FileDialogs& dialogs, RecentFileList& recent,
                           std::string settingsFile, std::function<void()> resetAllChannels)
    : m_project(project),
      m_operator(op),
      m_timers(timers),
      m_dialogs(dialogs),
      m_recent(recent),
      m_settingsFile(std::move(settingsFile)),
      m_resetAllChannels(std::move(resetAllChannels))
{
    m_timers.setHandler(TimerId::Autosave, [this] { autosave(); });
}

ProjectFiles::~ProjectFiles()
{
    m_timers.clearHandler(TimerId::Autosave);
}

void ProjectFiles::autosave()
{
    if (m_busy || m_work->isBusy() || (m_autosaveBlocked && m_autosaveBlocked()) || (m_gate && m_gate->isHeld()))
        return;
    std::optional<OperationGate::Hold> hold;
    if (m_gate)
        hold = m_gate->enter("Autosave");
    save();
}

ProjectFiles::SaveOutcome ProjectFiles::save()
{
    if (fileNamePart(m_project.projectPath) == NewProjectFileName)
        return saveAs();
    return writeFile(m_project.projectPath);
}

ProjectFiles::SaveOutcome ProjectFiles::saveAs()
{
    BusyFlag busy(m_busy);
    std::string path;
    for (;;) {
        FileDialogRequest request;
        request.title = " Save As";
        request.filterName = FilterName;
        request.pattern = Pattern;
        request.defaultExtension = "vpf";
        request.startPath = m_lastSaveAsPath;
        request.confirmOverwrite = true;
        const auto chosen = m_dialogs.askSaveAs(request);
        if (!chosen)
            return SaveOutcome::Cancelled;
        path = *chosen;
        m_lastSaveAsPath = path;
        // "New Project.vpf" is the name of a project that has none yet: ask again.
        if (fileNamePart(path) != NewProjectFileName)
            break;
    }

    // The project takes the new path only once the file is there, so a failed save
    // leaves it pointing at the file it came from.
    return write(path, TakePath::Yes);
}

ProjectFiles::SaveOutcome ProjectFiles::writeFile(const std::string& path)
{
    return write(path, TakePath::No);
}

ProjectFiles::SaveOutcome ProjectFiles::write(const std::string& path, TakePath takePath)
{
    BusyFlag busy(m_busy);
    // The file is written from a copy taken now: the operator keeps working while it is
    // written, and what is saved is the project as it was when the save was asked for.
    const Project saved = m_project;
    // The markers go now, so a change made while the file is being written marks its
    // scene again; they come back if the write fails.
    std::vector<std::uint64_t> markedBefore;
    for (int p = 1; p < m_project.scenes.count(); ++p)
        if (m_project.scenes.isModified(p))
            markedBefore.push_back(m_project.scenes.idAt(p));
    m_project.scenes.clearModifiedMarkers();

    auto result = ProjectFileWriter::Result::WriteFailed;
    const auto beforeWrite = m_beforeWriteHooks;
    const auto companions = m_writeCompanions;
    std::vector<SaveEnd> ends;
    std::string keptCopy;
    {
        // The copy is taken: the operation gate is free while the worker writes.
        const OperationGate::Pause pause(m_gate);
        m_work->run([&saved, &path, &result, &keptCopy, &beforeWrite, &companions, &ends] {
            for (const BeforeWriteHook& hook : beforeWrite)
                hook(path);
            for (const WriteCompanion& companion : companions)
                ends.push_back(companion(path));
            result = ProjectFileWriter::write(saved, path, &keptCopy);
        });
    }
    if (result != ProjectFileWriter::Result::Saved) {
        for (const SaveEnd& end : ends)
            if (end)
                end(false);
        for (std::uint64_t id : markedBefore)
            if (const int p = m_project.scenes.positionOf(id); p > 0)
                m_project.scenes.setModified(p);
        m_listeners.sceneLinesChanged();
    }
    switch (result) {
    case ProjectFileWriter::Result::CannotOpen:
        m_operator.platformMessage(format("Cannot open file %s", path.c_str()));
        return SaveOutcome::Failed;
    case ProjectFileWriter::Result::WriteFailed:
        if (!keptCopy.empty())
            m_operator.platformMessage(
                format("Failed to write file %s\nThe saved project is kept in %s", path.c_str(), keptCopy.c_str()));
        else
            m_operator.platformMessage(format("Failed to write file %s", path.c_str()));
        return SaveOutcome::Failed;
    case ProjectFileWriter::Result::Saved: break;
    }

    applySaved(saved);
    if (takePath == TakePath::Yes) {
        m_project.projectPath = path;
        m_project.setProjectName(fileNamePart(path));
        m_recent.add(path);
    }
    // A copy: a hook may open a box, inside which timers run.
    const auto hooks = m_savedHooks;
    for (const SavedHook& hook : hooks)
        hook(path);
    for (const SaveEnd& end : ends)
        if (end)
            end(true);
    return SaveOutcome::Saved;
}

void ProjectFiles::applySaved(const Project& saved)
{
    // The file carries the channel names of the copy in every record; the scenes keep them.
    const auto names = saved.channelNames();
    for (int p = 1; p < m_project.scenes.count(); ++p)
        m_project.scenes.scene(p).channelNames = names;
    m_project.hasFile = true;
    m_listeners.sceneLinesChanged();
    m_listeners.sceneSelected(m_project.activeSceneIndex);
}

bool ProjectFiles::readFile(const std::string& path)
{
    // A file still being written is finished before anything is read.
    m_work->waitUntilIdle();
    FileSource source(path);
    if (!source.isOpen()) {
        m_operator.platformMessage(format("Cannot open file %s", path.c_str()));
        return false;
    }
    m_project.projectPath = path;
    // A scene of the new project that happens to carry the name followed so far must
    // not receive this project's live changes.
    m_project.followedSceneName.clear();
    m_project.sceneFollowing = false;

    ProjectFileReader reader(m_project, m_operator, m_timers);
    const auto outcome = reader.read(source);
    m_listeners.sceneLinesChanged();
    const auto hooks = m_openedHooks;
    for (const OpenedHook& hook : hooks)
        hook(path);
    if (outcome != ProjectFileReader::Outcome::Complete)
        return false;

    if (m_resetAllChannels)
        m_resetAllChannels();
    return true;
}

bool ProjectFiles::openAsCopy(const std::string& path, const std::string& newProjectPath)
{
    BusyFlag busy(m_busy);
    const bool read = readFile(path);
    if (m_project.projectPath == path) {
        // Whatever was read belongs to no file: a Save must never write over the backup.
        m_project.projectPath = newProjectPath;
        m_project.setProjectName(Project::NewProjectName);
        m_project.hasFile = false;
    }
    if (!read)
        return false;
    m_project.activeSceneIndex = 0;
    m_project.activeSceneName = SceneList::BlankSceneText;
    m_listeners.activeSceneChanged();
    m_listeners.sceneSelected(0);
    m_listeners.sceneListScrolled(0);
    return true;
}

bool ProjectFiles::open(const std::string& path)
{
    BusyFlag busy(m_busy);
    if (!readFile(path))
        return false;

    m_project.setProjectName(fileNamePart(path));
    if (characterCount(m_project.projectName) <= 3) {
        m_operator.platformMessage("Bad file");
        return false;
    }
    writeLastUsedDirectory(m_settingsFile, directoryPart(path));
    m_project.activeSceneIndex = 0;
    m_project.activeSceneName = SceneList::BlankSceneText;
    m_listeners.activeSceneChanged();
    m_listeners.sceneSelected(0);
    m_listeners.sceneListScrolled(0);
    m_recent.add(path);
    m_project.hasFile = true;
    return true;
}

std::optional<std::string> ProjectFiles::askOpenPath()
{
    FileDialogRequest request;
    request.title = " Open  Veltara Project File";
    request.filterName = FilterName;
    request.pattern = Pattern;
    request.defaultExtension = "vpf";
    request.startPath = m_project.projectPath;
    request.mustExist = true;
    return m_dialogs.askOpen(request);
}

} // namespace deskpanel
