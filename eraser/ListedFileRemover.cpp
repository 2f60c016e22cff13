#include "ListedFileRemover.h"

#include <algorithm>
#include <set>

#include "InstalledFileList.h"
#include "PathRules.h"

ListedFileRemover::ListedFileRemover(RemovalPlatform& platform) : m_platform(platform), m_style(platform.pathStyle())
{}

ListedFileRemover::Outcome ListedFileRemover::remove(const std::string& folder, const std::vector<std::string>& listed)
{
    Outcome outcome;
    const std::string listFile = InstalledFileList::FileName;
    for (const std::string& relative : listed) {
        if (PathRules::sameName(relative, listFile, m_style))
            continue;
        const std::string path = folder + m_style.separator + relative;
        // A path that does not fit the platform's path buffer cannot be handed to it.
        if (path.size() >= m_style.maxPath) {
            outcome.notDeleted.push_back(relative);
            continue;
        }
        // Only a plain file inside real folders: a folder swapped for a link would lead the
        // deletion somewhere else, and a listed name that is now a folder is not a file.
        if (!liesInRealFolders(folder, relative) || m_platform.kindOf(path) != PathKind::Other)
            continue;
        if (!deleteFile(path))
            outcome.notDeleted.push_back(relative);
    }
    if (outcome.notDeleted.empty())
        m_platform.deleteFile(folder + m_style.separator + listFile);
    removeEmptiedFolders(folder, listed);
    outcome.folderRemoved = m_platform.removeDirectory(folder) || m_platform.kindOf(folder) == PathKind::Missing;
    if (!outcome.folderRemoved) {
        std::vector<std::string> remaining;
        collectRemaining(folder, {}, remaining);
        for (const std::string& relative : remaining) {
            bool known =
                PathRules::sameName(relative, listFile, m_style) ||
                std::any_of(outcome.notDeleted.begin(), outcome.notDeleted.end(),
                            [&](const std::string& kept) { return PathRules::sameName(kept, relative, m_style); });
            if (!known)
                outcome.notListed.push_back(relative);
        }
    }
    return outcome;
}

bool ListedFileRemover::liesInRealFolders(const std::string& folder, const std::string& relative) const
{
    for (std::size_t cut = relative.find(m_style.separator); cut != std::string::npos;
         cut = relative.find(m_style.separator, cut + 1)) {
        if (m_platform.kindOf(folder + m_style.separator + relative.substr(0, cut)) != PathKind::Directory)
            return false;
    }
    return true;
}

bool ListedFileRemover::deleteFile(const std::string& path)
{
    if (m_platform.deleteFile(path))
        return true;
    // A read-only file is deleted once it has been made writable.
    return m_platform.setAttributesNormal(path) && m_platform.deleteFile(path);
}

void ListedFileRemover::removeEmptiedFolders(const std::string& folder, const std::vector<std::string>& listed)
{
    std::set<std::string> folders;
    for (const std::string& relative : listed) {
        for (std::size_t cut = relative.find(m_style.separator); cut != std::string::npos;
             cut = relative.find(m_style.separator, cut + 1)) {
            folders.insert(relative.substr(0, cut));
        }
    }
    // The deepest first, so that a parent is empty by the time it is tried. A folder that
    // still holds something stays; links were never followed here, so none is removed.
    std::vector<std::string> deepestFirst(folders.begin(), folders.end());
    auto depth = [&](const std::string& path) { return std::count(path.begin(), path.end(), m_style.separator); };
    std::stable_sort(deepestFirst.begin(), deepestFirst.end(),
                     [&](const std::string& a, const std::string& b) { return depth(a) > depth(b); });
    for (const std::string& relative : deepestFirst) {
        if (liesInRealFolders(folder, relative + m_style.separator) &&
            m_platform.kindOf(folder + m_style.separator + relative) == PathKind::Directory)
            m_platform.removeDirectory(folder + m_style.separator + relative);
    }
}

void ListedFileRemover::collectRemaining(const std::string& folder, const std::string& relative,
                                         std::vector<std::string>& found)
{
    const std::string directory = relative.empty() ? folder : folder + m_style.separator + relative;
    std::unique_ptr<DirectoryEnumeration> entries = m_platform.enumerate(directory);
    if (!entries)
        return;
    const std::size_t before = found.size();
    DirectoryEntry entry;
    while (entries->next(entry)) {
        if (entry.isDirectory && (entry.name == "." || entry.name == ".."))
            continue;
        const std::string path = relative.empty() ? entry.name : relative + m_style.separator + entry.name;
        if (entry.isDirectory && (folder + m_style.separator + path).size() < m_style.maxPath)
            collectRemaining(folder, path, found);
        else
            found.push_back(path);
    }
    // A folder with nothing left in it is named itself, or nothing would explain why the
    // installation folder stays.
    if (found.size() == before && !relative.empty())
        found.push_back(relative + m_style.separator);
}
