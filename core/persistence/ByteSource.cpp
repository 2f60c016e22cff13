#include "core/persistence/ByteSource.h"

#include "core/persistence/WideText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace deskpanel {

std::size_t MemorySource::read(std::uint8_t* into, std::size_t size)
{
    const std::size_t n = std::min(size, m_size - m_offset);
    if (n > 0)
        std::memcpy(into, m_data + m_offset, n);
    m_offset += n;
    return n;
}

#ifdef _WIN32
FileSource::FileSource(const std::string& path)
{
    m_openError = _wsopen_s(&m_fd, widenUtf8(path).c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0);
    if (m_openError != 0) {
        m_fd = -1;
        return;
    }
    struct _stati64 st {};
    if (_fstati64(m_fd, &st) == 0)
        m_size = static_cast<std::uint64_t>(st.st_size);
}

FileSource::~FileSource()
{
    if (m_fd >= 0)
        _close(m_fd);
}

std::size_t FileSource::read(std::uint8_t* into, std::size_t size)
{
    std::size_t total = 0;
    while (total < size) {
        const int n = _read(m_fd, into + total, static_cast<unsigned>(std::min<std::size_t>(size - total, 1u << 30)));
        if (n < 0)
            m_readError = errno;
        if (n <= 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    return total;
}

bool FileSource::rewind()
{
    return _lseeki64(m_fd, 0, SEEK_SET) == 0;
}
#else
FileSource::FileSource(const std::string& path)
{
    // Non-blocking, so that a named pipe or a device given as a project file cannot hang
    // the program in open(); only a regular file is read.
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (m_fd < 0) {
        m_openError = errno;
        return;
    }
    struct stat st {};
    if (fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        m_openError = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = static_cast<std::uint64_t>(st.st_size);
}

FileSource::~FileSource()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::size_t FileSource::read(std::uint8_t* into, std::size_t size)
{
    if (m_fd < 0)
        return 0;
    std::size_t total = 0;
    while (total < size) {
        const ssize_t n = ::read(m_fd, into + total, size - total);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            m_readError = errno;
        if (n <= 0)
            break;
        total += static_cast<std::size_t>(n);
    }
    return total;
}

bool FileSource::rewind()
{
    return m_fd >= 0 && ::lseek(m_fd, 0, SEEK_SET) == 0;
}
#endif

} // namespace deskpanel
