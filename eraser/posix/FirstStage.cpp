#include "FirstStage.h"

#include <spawn.h>
#include <sys/types.h>

#include <cstring>
#include <filesystem>
#include <utility>

#include "PackageManager.h"
#include "RemovalTexts.h"
#include "UninstallLayout.h"

extern char** environ;

namespace fs = std::filesystem;

FirstStage::FirstStage(std::string installFolder, std::string erasePanelCopyPath, PackageManager& packages,
                       UserIntegration::Places userPlaces, bool silent)
    : m_installFolder(std::move(installFolder)),
      m_copyPath(std::move(erasePanelCopyPath)),
      m_packages(packages),
      m_userPlaces(std::move(userPlaces)),
      m_silent(silent)
{}

FirstStage::Result FirstStage::run()
{
    if (!m_installFolder.empty() && m_installFolder[0] == '/') {
        // Asked about this program's own file: the folder itself may belong to several.
        std::string package = m_packages.owner(m_installFolder + "/" + UninstallLayout::FirstStageName);
        if (!package.empty())
            return removePackage(package);
    }
    std::string error = startRemoval();
    if (!error.empty())
        return {1, error + " Nothing has been removed."};
    UserIntegration(m_installFolder, m_userPlaces).remove();
    return {};
}

FirstStage::Result FirstStage::removePackage(const std::string& package)
{
    if (m_packages.remove(package))
        return {0, RemovalTexts::Removed};
    return {1, "Veltara RP-8 was installed by the package manager (package \"" + package +
                   "\") and has not been removed. To remove it, run this command in a terminal:\n\n    " +
                   manualRemovalCommand(package)};
}

std::string FirstStage::startRemoval()
{
    if (m_installFolder.empty() || m_installFolder[0] != '/') {
        return "The installation folder of this program cannot be found.";
    }
    std::string error = copyErasePanel();
    return error.empty() ? startCopy() : error;
}

std::string FirstStage::copyErasePanel()
{
    fs::path source = fs::path(m_installFolder) / UninstallLayout::ErasePanelName;
    fs::path target = m_copyPath;
    // Written beside the target and renamed over it, so a copy left running from an
    // earlier uninstall is replaced, not overwritten in place.
    fs::path partial = target;
    partial += ".part";
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (!error)
        fs::copy_file(source, partial, fs::copy_options::overwrite_existing, error);
    if (!error)
        fs::permissions(partial, fs::perms::owner_all, error);
    if (!error)
        fs::rename(partial, target, error);
    if (error) {
        // The reason is taken before the clean-up, which reuses the error code.
        std::string reason = error.message();
        fs::remove(partial, error);
        return "The removal program could not be copied from \"" + source.string() + "\" to \"" + target.string() +
               "\": " + reason + ".";
    }
    return {};
}

std::string FirstStage::startCopy()
{
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    std::string program = m_copyPath;
    std::string folder = m_installFolder;
    std::string silent = "/S";
    char* shown[] = {program.data(), folder.data(), nullptr};
    char* quiet[] = {program.data(), silent.data(), folder.data(), nullptr};
    char** arguments = m_silent ? quiet : shown;
    pid_t pid = 0;
    int result = posix_spawn(&pid, program.c_str(), nullptr, &attributes, arguments, environ);
    posix_spawnattr_destroy(&attributes);
    if (result != 0) {
        return "The removal program \"" + program + "\" could not be started: " + std::strerror(result) + ".";
    }
    return {};
}
