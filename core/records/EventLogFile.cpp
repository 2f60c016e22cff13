#include "core/records/EventLogFile.h"

#include "core/persistence/NativePath.h"
#include "core/records/UnitEvent.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace deskpanel {

namespace fs = std::filesystem;

EventLogFile::EventLogFile(std::string path, std::uint64_t rotateAtBytes, int keptFiles)
    : m_path(std::move(path)), m_rotateAt(rotateAtBytes), m_kept(keptFiles)
{}

EventLogFile::~EventLogFile()
{
    closeFile();
}

void EventLogFile::closeFile()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

bool EventLogFile::fail()
{
    m_errno = errno != 0 ? errno : EIO;
    closeFile(); // opened afresh next time, in case the folder went away
    return false;
}

bool EventLogFile::openForAppend()
{
    std::error_code error;
    fs::create_directories(nativePath(m_path).parent_path(), error);
    errno = 0;
    // Read as well as appended to: the last byte tells whether the file ends a line.
#ifdef _WIN32
    m_file = _wfopen(nativePath(m_path).c_str(), L"a+b");
#else
    m_file = std::fopen(m_path.c_str(), "a+b");
#endif
    if (!m_file)
        return fail();
    if (std::fseek(m_file, 0, SEEK_END) != 0)
        return fail();
    const long size = std::ftell(m_file);
    if (size < 0)
        return fail();
    m_size = static_cast<std::uint64_t>(size);
    // A write cut short (a full disk, a crash) left part of a line: the next line starts
    // on a line of its own, so the part stays one damaged line and joins no other.
    m_lineOpen = false;
    if (m_size > 0) {
        if (std::fseek(m_file, -1, SEEK_END) != 0)
            return fail();
        m_lineOpen = std::fgetc(m_file) != '\n';
        if (std::fseek(m_file, 0, SEEK_END) != 0)
            return fail();
    }
    return true;
}

bool EventLogFile::rotate()
{
    closeFile();
    std::error_code error;
    const auto numbered = [this](int n) { return nativePath(m_path + "." + std::to_string(n)); };
    fs::remove(numbered(m_kept), error);
    for (int n = m_kept - 1; n >= 1; --n)
        if (fs::exists(numbered(n), error))
            fs::rename(numbered(n), numbered(n + 1), error);
    if (m_kept >= 1)
        fs::rename(nativePath(m_path), numbered(1), error);
    else
        fs::remove(nativePath(m_path), error);
    return openForAppend();
}

bool EventLogFile::append(const std::string& line)
{
    if (!m_file && !openForAppend())
        return false;
    const std::uint64_t needed = line.size() + 1;
    if (m_size > 0 && m_size + needed > m_rotateAt && !rotate())
        return false;
    std::string text;
    if (m_size == 0) {
        text = eventline::Header;
        text += '\n';
    } else if (m_lineOpen) {
        text = '\n';
    }
    text += line;
    text += '\n';
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size() || std::fflush(m_file) != 0)
        return fail(); // reopened next time, which finds out where the file ends
    m_size += text.size();
    m_lineOpen = false;
    return true;
}

} // namespace deskpanel
