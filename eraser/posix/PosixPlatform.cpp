#include "PosixPlatform.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <thread>

#include "PosixMessageBox.h"
#include "X11WindowFinder.h"

namespace {

PlatformError fromErrno(int error)
{
    switch (error) {
    case 0: return PlatformError::None;
    case ENOTEMPTY:
    case EEXIST: // what some systems say for a folder that is not empty
        return PlatformError::DirNotEmpty;
    case ENOENT: return PlatformError::PathNotFound;
    default: return PlatformError::Other;
    }
}

constexpr auto LookupPause = std::chrono::milliseconds(100);

} // namespace

class PosixPlatform::Enumeration : public DirectoryEnumeration {
public:
    Enumeration(PosixPlatform& platform, DIR* dir) : m_platform(platform), m_dir(dir) {}
    ~Enumeration() override { closedir(m_dir); }
    Enumeration(const Enumeration&) = delete;
    Enumeration& operator=(const Enumeration&) = delete;

    bool next(DirectoryEntry& entry) override
    {
        errno = 0;
        const dirent* found = readdir(m_dir);
        if (found == nullptr) {
            m_platform.m_lastError = errno == 0 ? PlatformError::NoMoreFiles : PlatformError::Other;
            return false;
        }
        entry.name = found->d_name;
        // lstat, not stat: a link to a folder is removed as a link, never followed.
        struct stat info {};
        if (fstatat(dirfd(m_dir), found->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
            // Gone since it was listed, or unreadable: treated as a file, whose deletion then
            // tells what is the matter.
            entry.isDirectory = false;
            entry.readOnly = false;
            return true;
        }
        entry.isDirectory = S_ISDIR(info.st_mode);
        entry.readOnly = !S_ISLNK(info.st_mode) && (info.st_mode & S_IWUSR) == 0;
        return true;
    }

private:
    PosixPlatform& m_platform;
    DIR* m_dir;
};

PosixPlatform::PosixPlatform(PosixMessageBox& messages, const X11WindowFinder& windows)
    : m_messages(messages), m_windows(windows)
{}

PosixPlatform::~PosixPlatform()
{
    for (const std::string& path : m_deleteAtExit)
        unlink(path.c_str());
}

bool PosixPlatform::failWithErrno()
{
    m_lastError = fromErrno(errno);
    return false;
}

PathStyle PosixPlatform::pathStyle() const
{
    return PathStyle{'/', PATH_MAX, false};
}

void PosixPlatform::messageBox(const std::string& caption, const std::string& text)
{
    m_messages.show(caption, text);
}

bool PosixPlatform::findTopLevelWindow(const std::string& title)
{
    return m_windows.findTopLevelWindow(title);
}

void PosixPlatform::pauseBetweenLookups()
{
    std::this_thread::sleep_for(LookupPause);
}

bool PosixPlatform::removeDirectory(const std::string& path)
{
    return rmdir(path.c_str()) == 0 || failWithErrno();
}

std::unique_ptr<DirectoryEnumeration> PosixPlatform::enumerate(const std::string& directory)
{
    // O_NOFOLLOW keeps the enumeration inside the tree even if a folder was swapped for a
    // link after it was listed.
    int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        failWithErrno();
        return nullptr;
    }
    DIR* dir = fdopendir(fd);
    if (dir == nullptr) {
        failWithErrno();
        close(fd);
        return nullptr;
    }
    return std::make_unique<Enumeration>(*this, dir);
}

bool PosixPlatform::setAttributesNormal(const std::string& path)
{
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return failWithErrno();
    if (!S_ISREG(info.st_mode))
        return true; // links have no permissions of their own
    return chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR) == 0 || failWithErrno();
}

bool PosixPlatform::deleteFile(const std::string& path)
{
    return unlink(path.c_str()) == 0 || failWithErrno();
}

PlatformError PosixPlatform::lastError() const
{
    return m_lastError;
}

bool PosixPlatform::deleteAtRestart(const std::string& path)
{
    m_deleteAtExit.push_back(path);
    return true;
}

bool PosixPlatform::readFile(const std::string& path, std::string& contents) const
{
    // O_NOFOLLOW: the list is the installation's own file, not one a link leads to.
    int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    contents.clear();
    char buffer[4096];
    ssize_t n = 0;
    while ((n = read(fd, buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            close(fd);
            return false;
        }
        contents.append(buffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return true;
}

void PosixPlatform::forgetInstallation(const std::string&)
{
    // The first stage has removed the desktop files, link and record already: on Linux a
    // running program's files can be deleted, so nothing waits on them.
}

PathKind PosixPlatform::kindOf(const std::string& path) const
{
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? PathKind::Missing : PathKind::Other;
    return S_ISDIR(info.st_mode) ? PathKind::Directory : PathKind::Other;
}

bool PosixPlatform::isAbsolute(const std::string& path) const
{
    return !path.empty() && path[0] == '/';
}

std::string PosixPlatform::fullPath(const std::string& path) const
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr)
        return {};
    std::string result = resolved;
    std::free(resolved);
    return result;
}

bool PosixPlatform::isFilesystemRoot(const std::string& fullPath) const
{
    if (fullPath == "/")
        return true;
    // A mount point: the folder and its parent lie on different file systems.
    struct stat folder {};
    struct stat parent {};
    if (stat(fullPath.c_str(), &folder) != 0 || stat((fullPath + "/..").c_str(), &parent) != 0)
        return false;
    return folder.st_dev != parent.st_dev || folder.st_ino == parent.st_ino;
}

std::string PosixPlatform::homeFolder() const
{
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return home;
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "";
}
