#pragma once
#include <string>

namespace deskpanel {

struct ProfileLocations;

// The installer's record: section "File Location", key "Main Exe File", the folder of
// the program and its uninstaller without a trailing separator. Read only; empty when
// the record or the key is missing.
std::string readInstallationFolder(const std::string& recordPath);

// The user's own record first (a per-user installation), then the system-wide one that
// the package writes; empty when neither names a folder.
std::string readInstallationFolder(const ProfileLocations& at);

} // namespace deskpanel
