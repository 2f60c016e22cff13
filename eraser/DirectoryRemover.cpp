#include "DirectoryRemover.h"

DirectoryRemover::DirectoryRemover(RemovalPlatform& platform) : m_platform(platform), m_style(platform.pathStyle())
{}

bool DirectoryRemover::remove(const std::string& directory)
{
    // The cheap case first: an empty folder goes at once.
    if (m_platform.removeDirectory(directory))
        return true;
    if (m_platform.lastError() != PlatformError::DirNotEmpty)
        return false;
    if (!removeContents(directory))
        return false;
    return m_platform.removeDirectory(directory);
}

bool DirectoryRemover::removeContents(const std::string& directory)
{
    std::unique_ptr<DirectoryEnumeration> entries = m_platform.enumerate(directory);
    if (!entries)
        return false;

    DirectoryEntry entry;
    while (entries->next(entry)) {
        if (entry.isDirectory && (entry.name == "." || entry.name == ".."))
            continue;
        std::string path = directory + m_style.separator + entry.name;
        // A path that does not fit the platform's path buffer cannot be handed to it; the
        // entry stays, and so does this folder.
        if (path.size() >= m_style.maxPath)
            continue;
        if (entry.isDirectory) {
            removeSubdirectory(path);
        } else if (!removeFile(path, entry)) {
            return false; // the remaining entries of this folder are left alone
        }
    }
    // Anything but a normal end (an unreadable folder, a vanished handle) must not be
    // retried: that would never end.
    return m_platform.lastError() == PlatformError::NoMoreFiles;
}

void DirectoryRemover::removeSubdirectory(const std::string& path)
{
    // Whatever happened below, one more try at the folder itself: it may have become
    // empty even when its enumeration did not end normally.
    if (!remove(path))
        m_platform.removeDirectory(path);
}

bool DirectoryRemover::removeFile(const std::string& path, const DirectoryEntry& entry)
{
    if (entry.readOnly)
        m_platform.setAttributesNormal(path);
    return m_platform.deleteFile(path);
}
