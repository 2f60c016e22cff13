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

} // namespace

std::string erasePanelCopyPath()
{
    // The base directory rules say a relative XDG_CACHE_HOME is to be ignored.
    const char* cache = std::getenv("XDG_CACHE_HOME");
    std::string folder = cache != nullptr && cache[0] == '/' ? std::string(cache) : homeFolder() + "/.cache";
    return folder + "/" + ErasePanelName;
}

std::string ownProgramFolder()
{
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

} // namespace UninstallLayout
