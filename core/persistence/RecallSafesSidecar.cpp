#include "core/persistence/RecallSafesSidecar.h"

#include "core/host/Operator.h"
#include "core/model/Project.h"
#include "core/model/Text.h"
#include "core/persistence/ProjectFiles.h"
#include "core/persistence/RecallSafesFile.h"

namespace deskpanel {

RecallSafesSidecar::RecallSafesSidecar(Project& project, Operator& op) : m_project(project), m_operator(op)
{}

void RecallSafesSidecar::attachTo(ProjectFiles& files)
{
    files.addSavedHook([this](const std::string& path) { projectSaved(path); });
    files.addOpenedHook([this](const std::string& path) { projectOpened(path); });
}

void RecallSafesSidecar::projectSaved(const std::string& projectPath)
{
    const std::string path = RecallSafesFile::pathFor(projectPath);
    // Writing the safes in memory (none) would remove the operator's file unread.
    if (m_project.recallSafesUnreadable && path == m_unreadablePath)
        return;
    if (!RecallSafesFile::write(path, m_project.recallSafes))
        m_operator.platformMessage(format("Failed to write file %s", path.c_str()));
}

void RecallSafesSidecar::projectOpened(const std::string& projectPath)
{
    const std::string path = RecallSafesFile::pathFor(projectPath);
    const RecallSafesFile::ReadResult result = RecallSafesFile::read(path);
    m_project.recallSafes = result.decoded.safes;
    m_project.recallSafesUnreadable = !result.failure.empty();
    m_unreadablePath = m_project.recallSafesUnreadable ? path : std::string();
    if (const std::string message = RecallSafesFile::failureMessage(path, result); !message.empty())
        m_operator.platformMessage(message);
    else if (const std::string damage = RecallSafesFile::damageMessage(path, result); !damage.empty())
        m_operator.platformMessage(damage);
}

} // namespace deskpanel
