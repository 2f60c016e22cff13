#include "core/persistence/PackageOwnership.h"

#include <filesystem>
#include <fstream>

namespace deskpanel {
namespace {

bool listed(const std::string& listFile, const std::string& path, const std::string& resolved)
{
    std::ifstream in(listFile);
    std::string line;
    while (std::getline(in, line)) {
        if (line == path || (!resolved.empty() && line == resolved))
            return true;
    }
    return false;
}

} // namespace

bool PackageOwnership::isPackaged(const std::string& filePath, const std::string& infoFolder)
{
    if (filePath.empty() || filePath[0] != '/' || infoFolder.empty())
        return false;
    // Empty when the path cannot be resolved.
    std::error_code error;
    const std::string resolved = std::filesystem::canonical(filePath, error).string();
    // The package is not "Multi-Arch: same", so its list carries the bare package name.
    return listed(infoFolder + "/" + PackageName + ".list", filePath, resolved);
}

} // namespace deskpanel
