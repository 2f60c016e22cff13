#pragma once

#include <string>

#include "RemovalPlatform.h"

// Deletes a folder with everything in it, children before their parents.
//
// A file that cannot be deleted ends the work on its own folder at once: the entries
// after it and the folder itself stay. The folders above still go on with their other
// entries, because a parent does not look at how its subfolders fared.
class DirectoryRemover {
public:
    explicit DirectoryRemover(RemovalPlatform& platform);

    // Returns true when the folder no longer exists afterwards.
    bool remove(const std::string& directory);

private:
    bool removeContents(const std::string& directory);
    void removeSubdirectory(const std::string& path);
    bool removeFile(const std::string& path, const DirectoryEntry& entry);

    RemovalPlatform& m_platform;
    PathStyle m_style;
};
