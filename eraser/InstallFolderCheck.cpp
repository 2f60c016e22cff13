#include "InstallFolderCheck.h"

#include "InstalledFileList.h"
#include "PathRules.h"

namespace {

const char* const NothingRemoved = " Nothing has been removed.";

std::string quoted(const std::string& path)
{
    return "\"" + path + "\"";
}

} // namespace

InstallFolderCheck::InstallFolderCheck(const RemovalPlatform& platform) : m_platform(platform)
{}

std::string InstallFolderCheck::programFileName(const RemovalPlatform& platform)
{
    // Paths with backslashes are Windows paths, where the program carries its extension.
    return platform.pathStyle().separator == '\\' ? "DeskPanel.exe" : "DeskPanel";
}

std::optional<std::string> InstallFolderCheck::refusal(const std::string& folder) const
{
    if (folder.empty())
        return std::string("No installation folder was given.") + NothingRemoved;
    if (!m_platform.isAbsolute(folder)) {
        return "The installation folder " + quoted(folder) + " is not a full path." + NothingRemoved;
    }
    switch (m_platform.kindOf(folder)) {
    case PathKind::Missing: return "The installation folder " + quoted(folder) + " does not exist." + NothingRemoved;
    case PathKind::Other: return quoted(folder) + " is not a folder." + NothingRemoved;
    case PathKind::Directory: break;
    }

    std::string full = m_platform.fullPath(folder);
    if (full.empty()) {
        return "The installation folder " + quoted(folder) + " cannot be read." + NothingRemoved;
    }
    if (m_platform.isFilesystemRoot(full)) {
        return quoted(folder) + " is the top folder of a drive and is not removed." + NothingRemoved;
    }
    std::string home = m_platform.homeFolder();
    std::string fullHome = home.empty() ? std::string() : m_platform.fullPath(home);
    if (!fullHome.empty() && PathRules::isSameOrInside(full, fullHome, m_platform.pathStyle())) {
        bool isHome = PathRules::isSameOrInside(fullHome, full, m_platform.pathStyle());
        return quoted(folder) + (isHome ? " is your home folder" : " holds your home folder") + " and is not removed." +
               NothingRemoved;
    }
    // The first stage always names the folder it runs from, which holds the program; any
    // other folder is not an installation, whatever its name.
    const char separator = m_platform.pathStyle().separator;
    const std::string base = PathRules::withoutTrailingSeparators(full, separator) + separator;
    if (m_platform.kindOf(base + programFileName(m_platform)) != PathKind::Other) {
        return quoted(folder) + " does not hold the DeskPanel program and is not removed." + NothingRemoved;
    }
    // Only what the installer listed is deleted; without its list nothing is known to be
    // the program's.
    if (m_platform.kindOf(base + InstalledFileList::FileName) != PathKind::Other) {
        return quoted(folder) + " holds no list of the installed files (\"" + InstalledFileList::FileName +
               "\") and is not removed." + NothingRemoved;
    }
    return std::nullopt;
}
