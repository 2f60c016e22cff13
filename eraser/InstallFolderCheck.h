#pragma once

#include <optional>
#include <string>

#include "RemovalPlatform.h"

// Decides whether a folder named on the command line may be deleted whole. The removal
// deletes everything below the folder it is given, so a slip in that one argument must
// not cost the user a drive or a home folder.
class InstallFolderCheck {
public:
    explicit InstallFolderCheck(const RemovalPlatform& platform);

    // The message that explains why the folder is refused; nothing when it may go.
    std::optional<std::string> refusal(const std::string& folder) const;

    // The file an installation folder holds: DeskPanel, or DeskPanel.exe on Windows.
    static std::string programFileName(const RemovalPlatform& platform);

private:
    const RemovalPlatform& m_platform;
};
