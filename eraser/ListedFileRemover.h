#pragma once

#include <string>
#include <vector>

#include "RemovalPlatform.h"

// Deletes the files that the installer listed from an installation folder, then the
// folders that this leaves empty, the installation folder last. Whatever the list does not
// name stays where it is: the operator's projects and recall safes, settings, anything
// put there later.
class ListedFileRemover {
public:
    struct Outcome {
        bool folderRemoved = false;
        // Listed files that are still there (in use, no access, a path too long), relative
        // to the folder, in the order of the list.
        std::vector<std::string> notDeleted;
        // Files the list does not name (and folders holding none), relative to the folder.
        std::vector<std::string> notListed;
    };

    explicit ListedFileRemover(RemovalPlatform& platform);

    // listed: relative paths with the platform's separator (InstalledFileList::parse). The
    // list file itself is deleted last, and only when every listed file has gone, so that
    // a later removal can finish the work.
    Outcome remove(const std::string& folder, const std::vector<std::string>& listed);

private:
    bool liesInRealFolders(const std::string& folder, const std::string& relative) const;
    bool deleteFile(const std::string& path);
    void removeEmptiedFolders(const std::string& folder, const std::vector<std::string>& listed);
    void collectRemaining(const std::string& folder, const std::string& relative, std::vector<std::string>& found);

    RemovalPlatform& m_platform;
    PathStyle m_style;
};
