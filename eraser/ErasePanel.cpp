#include "ErasePanel.h"

#include <optional>
#include <utility>

#include "DirectoryRemover.h"
#include "InstallFolderCheck.h"
#include "PathRules.h"
#include "RemovalTexts.h"

ErasePanel::ErasePanel(RemovalPlatform& platform, std::string ownProgramPath)
    : m_platform(platform), m_ownProgramPath(std::move(ownProgramPath))
{}

int ErasePanel::run(const std::string& installFolder)
{
    // A refused folder is refused before anything is announced or touched, the program's
    // own file included.
    if (std::optional<std::string> refusal = InstallFolderCheck(m_platform).refusal(installFolder)) {
        m_platform.messageBox(RemovalTexts::Caption, *refusal);
        return Refused;
    }
    std::string folder = PathRules::withoutTrailingSeparators(installFolder, m_platform.pathStyle().separator);

    m_platform.messageBox(RemovalTexts::Caption, RemovalTexts::Removing);
    waitForFirstStageToClose();
    bool removed = DirectoryRemover(m_platform).remove(folder);
    m_platform.deleteAtRestart(m_ownProgramPath);

    if (removed) {
        m_platform.messageBox(RemovalTexts::Caption, RemovalTexts::Removed);
        return Removed;
    }
    m_platform.messageBox(RemovalTexts::Caption, "Veltara RP-8 has not been removed completely. The folder \"" +
                                                     folder + "\" remains, with the files that could not be deleted.");
    return LeftBehind;
}

void ErasePanel::waitForFirstStageToClose()
{
    // The first stage's program file lies in the folder about to be deleted; it closes
    // its window just before it exits.
    while (m_platform.findTopLevelWindow(RemovalTexts::FirstStageWindowTitle)) {
        m_platform.pauseBetweenLookups();
    }
}
