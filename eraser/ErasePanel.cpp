#include "ErasePanel.h"

#include <optional>
#include <utility>

#include "InstallFolderCheck.h"
#include "InstalledFileList.h"
#include "ListedFileRemover.h"
#include "PathRules.h"
#include "RemovalTexts.h"

namespace {

// A message box has room for a screenful of names; the rest are counted.
constexpr std::size_t NamesShown = 15;

std::string nameLines(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < NamesShown; ++i)
        text += "\n    " + names[i];
    if (names.size() > NamesShown)
        text += "\n    and " + std::to_string(names.size() - NamesShown) + " more";
    return text;
}

} // namespace

ErasePanel::ErasePanel(RemovalPlatform& platform, std::string ownProgramPath, Messages messages)
    : m_platform(platform), m_ownProgramPath(std::move(ownProgramPath)), m_messages(messages)
{}

int ErasePanel::run(const std::string& installFolder)
{
    // A refused folder is refused before anything is announced or touched, the program's
    // own file included.
    if (std::optional<std::string> refusal = InstallFolderCheck(m_platform).refusal(installFolder)) {
        say(*refusal);
        return Refused;
    }
    const char separator = m_platform.pathStyle().separator;
    const std::string folder = PathRules::withoutTrailingSeparators(installFolder, separator);
    const std::string listPath = folder + separator + InstalledFileList::FileName;
    std::string list;
    if (!m_platform.readFile(listPath, list)) {
        say("The list of installed files \"" + listPath + "\" cannot be read. Nothing has been removed.");
        return Refused;
    }

    say(RemovalTexts::Removing);
    waitForFirstStageToClose();
    const ListedFileRemover::Outcome outcome =
        ListedFileRemover(m_platform).remove(folder, InstalledFileList::parse(list, separator));
    m_platform.deleteAtRestart(m_ownProgramPath);
    // The entries outside the folder go only with the program: while it is still there,
    // the Start menu and "Apps and features" are the operator's way back to it.
    if (m_platform.kindOf(folder + separator + InstallFolderCheck::programFileName(m_platform)) == PathKind::Missing)
        m_platform.forgetInstallation(folder);

    if (outcome.folderRemoved) {
        say(RemovalTexts::Removed);
        return Removed;
    }
    say(leftBehindText(folder, outcome.notDeleted, outcome.notListed));
    return LeftBehind;
}

std::string ErasePanel::leftBehindText(const std::string& folder, const std::vector<std::string>& notDeleted,
                                       const std::vector<std::string>& notListed) const
{
    std::string text = notDeleted.empty()
                           ? "Veltara RP-8 has been removed. The folder \"" + folder + "\" remains."
                           : "Veltara RP-8 has not been removed completely. The folder \"" + folder + "\" remains.";
    if (!notDeleted.empty())
        text += "\n\nThese files of the program could not be deleted:" + nameLines(notDeleted);
    if (!notListed.empty())
        text += "\n\nThese files were not installed with the program and have been left as they were:" +
                nameLines(notListed);
    return text;
}

void ErasePanel::say(const std::string& text)
{
    if (m_messages == Messages::Shown)
        m_platform.messageBox(RemovalTexts::Caption, text);
}

void ErasePanel::waitForFirstStageToClose()
{
    // The first stage's program file lies in the folder about to be deleted; it closes
    // its window just before it exits.
    while (m_platform.findTopLevelWindow(RemovalTexts::FirstStageWindowTitle)) {
        m_platform.pauseBetweenLookups();
    }
}
