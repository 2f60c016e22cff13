#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

namespace deskpanel {

// The event log on disk: lines appended to one file that starts with the header line.
// A line that would take the file past `rotateAtBytes` first moves it to "<path>.1"
// (".1" to ".2" and so on; the oldest beyond `keptFiles` is deleted) and starts a new
// one. Each line is flushed as it is written, so a crash loses nothing already logged;
// a line cut short by a failed write never runs into the next one.
class EventLogFile {
public:
    static constexpr std::uint64_t RotateAtBytes = 5 * 1024 * 1024;
    static constexpr int KeptFiles = 5;

    explicit EventLogFile(std::string path, std::uint64_t rotateAtBytes = RotateAtBytes, int keptFiles = KeptFiles);
    ~EventLogFile();
    EventLogFile(const EventLogFile&) = delete;
    EventLogFile& operator=(const EventLogFile&) = delete;

    // Appends one line (without its line break). False when it could not be written;
    // the next call tries again.
    bool append(const std::string& line);
    const std::string& path() const { return m_path; }
    // The system's error number of the last failure.
    int errorNumber() const { return m_errno; }

private:
    bool openForAppend();
    bool rotate();
    bool fail();
    void closeFile();

    std::string m_path;
    std::uint64_t m_rotateAt;
    int m_kept;
    std::FILE* m_file = nullptr;
    std::uint64_t m_size = 0;
    bool m_lineOpen = false; // the file ends inside a line
    int m_errno = 0;
};

} // namespace deskpanel
