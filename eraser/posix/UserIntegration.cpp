#include "UserIntegration.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

extern char** environ;

namespace fs = std::filesystem;

namespace {

const char* const DesktopEntry = "/applications/deskpanel.desktop";
const char* const MimeType = "/mime/packages/deskpanel-vpf.xml";
const int IconSizes[] = {16, 32, 48, 128, 256};

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs a desktop cache tool quietly; nothing depends on it, it may not even be installed.
void refresh(const char* program, const std::string& folder)
{
    if (!fs::is_directory(folder))
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::string name = program;
    std::string argument = folder;
    char* argv[] = {name.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, &actions, nullptr, argv, environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
}

} // namespace

UserIntegration::UserIntegration(std::string installFolder, Places places)
    : m_folder(std::move(installFolder)), m_places(std::move(places))
{
    while (m_folder.size() > 1 && m_folder.back() == '/')
        m_folder.pop_back();
}

std::vector<std::string> UserIntegration::remove()
{
    std::vector<std::string> removed;
    if (m_folder.empty() || m_folder[0] != '/')
        return removed;
    const std::string& data = m_places.dataHome;
    if (!data.empty() && desktopEntryIsOurs()) {
        removeFile(data + DesktopEntry, removed);
        removeFile(data + MimeType, removed);
        for (int size : IconSizes) {
            std::string dimensions = std::to_string(size) + "x" + std::to_string(size);
            removeFile(data + "/icons/hicolor/" + dimensions + "/apps/deskpanel.png", removed);
        }
    }
    const std::string link = m_places.binFolder + "/DeskPanel";
    if (!m_places.binFolder.empty() && linkIsOurs(link))
        removeFile(link, removed);
    const std::string record = m_places.configHome + "/Veltara-RP8.ini";
    if (!m_places.configHome.empty() && recordIsOurs(record))
        removeFile(record, removed);
    if (!data.empty() && !removed.empty()) {
        refresh("update-mime-database", data + "/mime");
        refresh("update-desktop-database", data + "/applications");
    }
    return removed;
}

bool UserIntegration::desktopEntryIsOurs() const
{
    std::error_code error;
    const std::string entry = m_places.dataHome + DesktopEntry;
    if (!fs::exists(fs::symlink_status(entry, error)))
        return true; // nothing names another program: the file type and icons are ours
    // The entry's Exec line names the program by its full path (see FileAssociation).
    return readText(entry).find(m_folder + "/DeskPanel") != std::string::npos;
}

bool UserIntegration::linkIsOurs(const std::string& link) const
{
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(link, error)))
        return false;
    fs::path target = fs::read_symlink(link, error);
    if (error)
        return false;
    if (target.is_relative())
        target = fs::path(link).parent_path() / target;
    const std::string resolved = target.lexically_normal().string();
    return resolved.rfind(m_folder + "/", 0) == 0;
}

bool UserIntegration::recordIsOurs(const std::string& record) const
{
    // The record DeskPanel reads: "[File Location]" with "Main Exe File=<folder>".
    std::ifstream in(record);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] == '[')
            inSection = line == "[File Location]";
        else if (inSection && line.rfind("Main Exe File=", 0) == 0)
            return line.substr(14) == m_folder;
    }
    return false;
}

void UserIntegration::removeFile(const std::string& path, std::vector<std::string>& removed) const
{
    std::error_code error;
    if (fs::remove(path, error))
        removed.push_back(path);
}
