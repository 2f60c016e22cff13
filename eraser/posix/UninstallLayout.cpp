#include "UninstallLayout.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace UninstallLayout {

namespace {

std::string homeFolder()
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/')
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}

// An XDG base folder: the variable when it holds an absolute path (the base directory
// rules say a relative one is to be ignored), else the default under the home folder.
std::string baseFolder(const char* variable, const char* underHome)
{
    const char* set = std::getenv(variable);
    if (set != nullptr && set[0] == '/')
        return set;
    const std::string home = homeFolder();
    return home.empty() ? std::string() : home + underHome;
}

} // namespace

std::string erasePanelCopyPath()
{
    return baseFolder("XDG_CACHE_HOME", "/.cache") + "/" + ErasePanelName;
}

UserIntegration::Places userPlaces()
{
    UserIntegration::Places places;
    places.dataHome = baseFolder("XDG_DATA_HOME", "/.local/share");
    places.configHome = baseFolder("XDG_CONFIG_HOME", "/.config");
    const std::string home = homeFolder();
    places.binFolder = home.empty() ? std::string() : home + "/.local/bin";
    return places;
}

std::string ownProgramFolder()
{
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

} // namespace UninstallLayout
