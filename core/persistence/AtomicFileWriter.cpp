#include "core/persistence/AtomicFileWriter.h"

#include "core/persistence/PathText.h"
#include "core/persistence/ReplaceRetry.h"
#include "core/persistence/WideText.h"

#include <cerrno>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace deskpanel {
namespace {

// Links are followed at most this deep, as the system itself does.
constexpr int MaxLinkDepth = 40;
constexpr int MaxNameAttempts = 100;

std::string temporaryName(const std::string& finalPath, int attempt)
{
    static unsigned counter = 0;
    ++counter;
#ifdef _WIN32
    const unsigned long pid = GetCurrentProcessId();
#else
    const unsigned long pid = static_cast<unsigned long>(getpid());
#endif
    // A long name is shortened so that the temporary name stays within the limit of
    // the file system.
    const std::string name = fileNamePart(finalPath).substr(0, 200);
    return directoryPart(finalPath) + "." + name + "." + std::to_string(pid) + "-" + std::to_string(counter) + "-" +
           std::to_string(attempt) + ".tmp";
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string targetPath) : m_targetPath(std::move(targetPath))
{}

AtomicFileWriter::~AtomicFileWriter()
{
    if (m_open && !m_committed)
        abandon();
}

bool AtomicFileWriter::fail(Failure failure, int errorNumber)
{
    if (m_failure == Failure::None) {
        m_failure = failure;
        m_errno = errorNumber;
    }
    abandon();
    return false;
}

#ifndef _WIN32

bool AtomicFileWriter::resolveFinalPath()
{
    std::string path = m_targetPath;
    for (int depth = 0; depth < MaxLinkDepth; ++depth) {
        struct stat st {};
        if (lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return fail(Failure::CannotCreate, errno);
            m_finalPath = path; // a new file, or the missing end of a dangling link
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            if (S_ISDIR(st.st_mode))
                return fail(Failure::CannotCreate, EISDIR);
            m_finalPath = path;
            return true;
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = readlink(path.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size())
            return fail(Failure::CannotCreate, n < 0 ? errno : ENAMETOOLONG);
        target.resize(static_cast<std::size_t>(n));
        path = (!target.empty() && target[0] == '/') ? target : directoryPart(path) + target;
    }
    return fail(Failure::CannotCreate, ELOOP);
}

bool AtomicFileWriter::open()
{
    if (m_open || m_committed || m_failure != Failure::None)
        return false;
    if (m_targetPath.empty() || fileNamePart(m_targetPath).empty())
        return fail(Failure::CannotCreate, ENOENT);
    if (!resolveFinalPath())
        return false;
    // A file the user may not write stays as it is, as it would for a plain create;
    // the rename alone would replace it all the same.
    if (access(m_finalPath.c_str(), F_OK) == 0 && access(m_finalPath.c_str(), W_OK) != 0)
        return fail(Failure::CannotCreate, errno);

    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        m_tempPath = temporaryName(m_finalPath, attempt);
        // 0666 under the umask: what a new file would have got from a plain create.
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0 || errno != EEXIST)
            break;
    }
    if (m_fd < 0) {
        const int error = errno;
        m_tempPath.clear();
        return fail(Failure::CannotCreate, error);
    }
    m_open = true;

    // An existing file keeps its mode and owner. The owner can only be kept by a
    // privileged process; failing to keep it is no reason not to save.
    struct stat st {};
    if (stat(m_finalPath.c_str(), &st) == 0) {
        if (fchmod(m_fd, st.st_mode & 07777) != 0)
            return fail(Failure::CannotCreate, errno);
        if (fchown(m_fd, st.st_uid, st.st_gid) != 0) {
            // Keeping the group alone may still be allowed.
            (void)!fchown(m_fd, static_cast<uid_t>(-1), st.st_gid);
        }
    }
    return true;
}

bool AtomicFileWriter::write(const void* data, std::size_t size)
{
    if (!m_open)
        return false;
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(m_fd, p, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(Failure::WriteFailed, errno);
        }
        if (n == 0)
            return fail(Failure::WriteFailed, ENOSPC);
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFileWriter::commit()
{
    if (!m_open)
        return false;
    if (fsync(m_fd) != 0)
        return fail(Failure::WriteFailed, errno);
    const int fd = m_fd;
    m_fd = -1;
    // Some file systems report a failed write only when the file is closed.
    if (::close(fd) != 0)
        return fail(Failure::WriteFailed, errno);
    if (::rename(m_tempPath.c_str(), m_finalPath.c_str()) != 0)
        return fail(Failure::WriteFailed, errno);
    m_open = false;
    m_committed = true;

    // Make the rename itself durable. The new file is already in place, so a folder
    // that cannot be synced (some file systems refuse) is not a failed save.
    std::string folder = directoryPart(m_finalPath);
    if (folder.empty())
        folder = ".";
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        (void)fsync(dirFd);
        ::close(dirFd);
    }
    return true;
}

void AtomicFileWriter::abandon()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (m_open && !m_tempPath.empty())
        ::unlink(m_tempPath.c_str());
    m_open = false;
}

#else // _WIN32

bool AtomicFileWriter::resolveFinalPath()
{
    const DWORD attributes = GetFileAttributesW(widenUtf8(m_targetPath).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return fail(Failure::CannotCreate, ERROR_ACCESS_DENIED); // what opening a folder as a file gives
    m_finalPath = m_targetPath;
    return true;
}

bool AtomicFileWriter::open()
{
    if (m_open || m_committed || m_failure != Failure::None)
        return false;
    if (m_targetPath.empty() || fileNamePart(m_targetPath).empty())
        return fail(Failure::CannotCreate, ERROR_INVALID_NAME);
    if (!resolveFinalPath())
        return false;
    // A read-only file stays as it is, as it would for a plain create.
    const DWORD attributes = GetFileAttributesW(widenUtf8(m_finalPath).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return fail(Failure::CannotCreate, ERROR_ACCESS_DENIED);
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < MaxNameAttempts; ++attempt) {
        m_tempPath = temporaryName(m_finalPath, attempt);
        handle = CreateFileW(widenUtf8(m_tempPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (handle == INVALID_HANDLE_VALUE) {
        const int error = static_cast<int>(GetLastError());
        m_tempPath.clear();
        return fail(Failure::CannotCreate, error);
    }
    m_handle = handle;
    m_open = true;
    return true;
}

bool AtomicFileWriter::write(const void* data, std::size_t size)
{
    if (!m_open)
        return false;
    const auto* p = static_cast<const char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(static_cast<HANDLE>(m_handle), p, chunk, &written, nullptr) || written == 0)
            return fail(Failure::WriteFailed, static_cast<int>(GetLastError()));
        p += written;
        size -= written;
    }
    return true;
}

bool AtomicFileWriter::commit()
{
    if (!m_open)
        return false;
    if (!FlushFileBuffers(static_cast<HANDLE>(m_handle)))
        return fail(Failure::WriteFailed, static_cast<int>(GetLastError()));
    HANDLE handle = static_cast<HANDLE>(m_handle);
    m_handle = nullptr;
    if (!CloseHandle(handle))
        return fail(Failure::WriteFailed, static_cast<int>(GetLastError()));
    const std::wstring target = widenUtf8(m_finalPath);
    const std::wstring temp = widenUtf8(m_tempPath);
    // One rename over the old file. ReplaceFile is not used: when it fails part way the
    // old file is already gone. A scanner, indexer or sync client that still holds a
    // just-closed file makes the rename fail for a moment, so it is tried again.
    const ReplaceOutcome outcome = replaceWithRetry(
        [&] {
            return MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
                       ? 0ul
                       : static_cast<unsigned long>(GetLastError());
        },
        realReplaceRetryClock());
    m_open = false; // from here on the written copy is never deleted
    if (outcome.error != 0) {
        m_keptCopyPath = m_tempPath;
        m_failure = Failure::WriteFailed;
        m_errno = static_cast<int>(outcome.error);
        return false;
    }
    m_committed = true;
    return true;
}

void AtomicFileWriter::abandon()
{
    if (m_handle) {
        CloseHandle(static_cast<HANDLE>(m_handle));
        m_handle = nullptr;
    }
    if (m_open && !m_tempPath.empty())
        DeleteFileW(widenUtf8(m_tempPath).c_str());
    m_open = false;
}

#endif

bool writeWholeFile(const std::string& path, const std::string& bytes, int& errorNumber)
{
    AtomicFileWriter writer(path);
    const bool written = writer.open() && writer.write(bytes.data(), bytes.size()) && writer.commit();
    errorNumber = written ? 0 : writer.errorNumber();
    return written;
}

} // namespace deskpanel
