#include "core/persistence/InstallationRecord.h"

#include "core/persistence/IniFile.h"
#include "core/persistence/ProfileLocations.h"

namespace deskpanel {

std::string readInstallationFolder(const std::string& recordPath)
{
    return readProfileString(recordPath, "File Location", "Main Exe File");
}

std::string readInstallationFolder(const ProfileLocations& at)
{
    for (const std::string& record : {at.installationRecord, at.systemInstallationRecord}) {
        if (record.empty())
            continue;
        std::string folder = readInstallationFolder(record);
        if (!folder.empty())
            return folder;
    }
    return {};
}

} // namespace deskpanel
