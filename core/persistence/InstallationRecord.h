#pragma once
#include <string>

namespace deskpanel {

// The installer's record: section "File Location", key "Main Exe File", the folder of
// the program and its uninstaller without a trailing separator. Read only; empty when
// the record or the key is missing.
std::string readInstallationFolder(const std::string& recordPath);

} // namespace deskpanel
