#include "core/persistence/ProfileLocations.h"

#include <cstdlib>

namespace deskpanel {
namespace {

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string xdgFolder(const char* variable, const char* underHome)
{
    const std::string set = environment(variable);
    if (!set.empty() && set[0] == '/')
        return set;
    const std::string home = environment("HOME");
    if (home.empty())
        return {};
    return home + underHome;
}

#ifndef _WIN32
std::string withSlash(std::string folder)
{
    if (!folder.empty() && folder.back() != '/')
        folder += '/';
    return folder;
}
#endif

} // namespace

std::string xdgConfigHome()
{
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string xdgDataHome()
{
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string xdgStateHome()
{
    return xdgFolder("XDG_STATE_HOME", "/.local/state");
}

std::string programStateFolder()
{
#ifdef _WIN32
    const std::string local = environment("LOCALAPPDATA");
    return local.empty() ? std::string() : local + "\\DeskPanel";
#else
    const std::string state = xdgStateHome();
    return state.empty() ? std::string() : withSlash(state) + "DeskPanel";
#endif
}

ProfileLocations ProfileLocations::forThisUser(const std::string& executableName, const std::string& programFolder)
{
    ProfileLocations at;
#ifdef _WIN32
    std::string windowsFolder = environment("SystemRoot");
    if (windowsFolder.empty())
        windowsFolder = "C:\\Windows";
    std::string folder = programFolder;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    at.settingsFile = folder + SettingsFileName;
    at.windowProfile = windowsFolder + "\\" + executableName + ".INI";
    at.installationRecord = "C:\\Windows\\" + std::string(InstallationRecordName);
#else
    (void)programFolder;
    at.systemInstallationRecord = SystemInstallationRecord;
    const std::string config = withSlash(xdgConfigHome());
    if (config.empty())
        return at; // no home: every profile reads as missing and writes fail quietly
    at.settingsFile = config + "DeskPanel/" + SettingsFileName;
    at.windowProfile = config + executableName + ".INI";
    at.installationRecord = config + InstallationRecordName;
    at.dataHome = xdgDataHome();
#endif
    return at;
}

} // namespace deskpanel
