#include "core/persistence/InstallationRecord.h"

#include "core/persistence/IniFile.h"

namespace deskpanel {

std::string readInstallationFolder(const std::string& recordPath)
{
    return readProfileString(recordPath, "File Location", "Main Exe File");
}

} // namespace deskpanel
