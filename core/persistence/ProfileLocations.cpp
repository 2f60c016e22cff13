#include "core/persistence/ProfileLocations.h"

#include "core/persistence/NativePath.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include "core/persistence/WideText.h"

#include <knownfolders.h>
#include <shlobj.h>
#endif

namespace deskpanel {
namespace {

#ifdef _WIN32
// A folder of this user's profile as Windows names it, in UTF-16 and so whatever letters
// the user's name has; empty when there is none.
std::string knownFolder(REFKNOWNFOLDERID id)
{
    PWSTR wide = nullptr;
    std::string folder;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &wide)) && wide)
        folder = narrowToUtf8(wide);
    CoTaskMemFree(wide);
    return folder;
}

std::string windowsFolder()
{
    wchar_t buffer[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
    return n > 0 && n < MAX_PATH ? narrowToUtf8(std::wstring(buffer, n)) : std::string("C:\\Windows");
}
#endif

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

std::string withBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/')
        folder += '\\';
    return folder;
}

// The place the system gives a profile file when this user may write it there, else the
// per-user one. Once the per-user file exists it is kept, so settings written there are
// found again even if the other place becomes writable later.
std::string choosePlace(const std::string& specified, const std::string& perUser,
                        const ProfileLocations::PlaceProbe& probe)
{
    if (perUser.empty())
        return specified;
    if (probe.exists(perUser))
        return perUser;
    return probe.writable(specified) ? specified : perUser;
}

// A path that cannot be used (bytes that name no file, a folder in the way, a name too
// long) is not writable; nothing here throws.
bool canWrite(const std::string& path) noexcept
try {
    std::error_code error;
    const std::filesystem::path file = nativePath(path);
    if (std::filesystem::exists(file, error)) {
        // Opened for appending: nothing in it changes.
        std::ofstream stream(file, std::ios::binary | std::ios::app);
        return stream.is_open();
    }
    // A file of our own next to it tells whether the folder takes new files.
    std::filesystem::path probe = file;
    probe += ".write-test";
    bool created = false;
    {
        std::ofstream stream(probe, std::ios::binary | std::ios::trunc);
        created = stream.is_open();
    }
    if (created)
        std::filesystem::remove(probe, error);
    return created;
} catch (...) {
    return false;
}

bool exists(const std::string& path) noexcept
try {
    std::error_code error;
    return std::filesystem::exists(nativePath(path), error);
} catch (...) {
    return false;
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
    const std::string local = knownFolder(FOLDERID_LocalAppData);
    return local.empty() ? std::string() : local + "\\DeskPanel";
#else
    const std::string state = xdgStateHome();
    return state.empty() ? std::string() : withSlash(state) + "DeskPanel";
#endif
}

ProfileLocations ProfileLocations::forThisUser(const std::string& executableName, const std::string& programFolder)
{
#ifdef _WIN32
    const WindowsFolders folders{programFolder, windowsFolder(), knownFolder(FOLDERID_RoamingAppData)};
    return forWindows(executableName, folders, fileSystemProbe());
#else
    ProfileLocations at;
    at.programFolder = programFolder;
    at.systemInstallationRecord = SystemInstallationRecord;
    const std::string config = withSlash(xdgConfigHome());
    if (config.empty())
        return at; // no home: every profile reads as missing and writes fail quietly
    at.settingsFile = config + "DeskPanel/" + SettingsFileName;
    at.windowProfile = config + executableName + ".INI";
    at.installationRecord = config + InstallationRecordName;
    at.dataHome = xdgDataHome();
    if (!at.dataHome.empty())
        at.presetLibrary = withSlash(at.dataHome) + "DeskPanel/Channel Presets.ini";
    return at;
#endif
}

ProfileLocations ProfileLocations::forWindows(const std::string& executableName, const WindowsFolders& folders,
                                              const PlaceProbe& probe)
{
    ProfileLocations at;
    const std::string perUserFolder = folders.appData.empty() ? std::string() : withBackslash(folders.appData);
    const auto perUser = [&](const std::string& name) {
        return perUserFolder.empty() ? std::string() : perUserFolder + "DeskPanel\\" + name;
    };
    at.settingsFile = choosePlace(withBackslash(folders.program) + SettingsFileName, perUser(SettingsFileName), probe);
    const std::string profileName = executableName + ".INI";
    at.windowProfile = choosePlace(withBackslash(folders.windows) + profileName, perUser(profileName), probe);
    // The installer's records: a per-user installation cannot write the Windows folder.
    if (!perUserFolder.empty())
        at.installationRecord = perUserFolder + InstallationRecordName;
    at.systemInstallationRecord = std::string("C:\\Windows\\") + InstallationRecordName;
    at.presetLibrary = perUser("Channel Presets.ini");
    at.programFolder = folders.program;
    return at;
}

ProfileLocations::PlaceProbe ProfileLocations::fileSystemProbe()
{
    PlaceProbe probe;
    probe.exists = exists;
    probe.writable = canWrite;
    return probe;
}

} // namespace deskpanel
