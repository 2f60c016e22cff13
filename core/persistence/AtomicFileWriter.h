#pragma once
#include <cstddef>
#include <string>

namespace deskpanel {

// Replaces a file as a whole or not at all. The bytes go to a temporary file beside the
// target; commit() syncs it to the disk and renames it over the target, so a full disk,
// a crash or a failed write leaves the previous file exactly as it was. Writing through
// a symbolic link replaces the file the link points to and keeps the link; an existing
// file keeps its permissions (and, where allowed, its owner).
//
// Use: open(), write() as often as needed, commit(). Any failure before the rename removes
// the temporary file; so does destroying the writer before commit(). A rename that fails
// on Windows keeps it (keptCopyPath()): the old file may be gone by then.
class AtomicFileWriter {
public:
    enum class Failure {
        None,
        CannotCreate, // the target is unusable or no temporary file could be made
        WriteFailed, // a write, the sync, the close or the rename failed
    };

    explicit AtomicFileWriter(std::string targetPath);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    bool open();
    // Writes all `size` bytes or fails; after a failure every later call fails too.
    bool write(const void* data, std::size_t size);
    bool commit();
    // Drops the temporary file; the target is untouched.
    void abandon();

    Failure failure() const { return m_failure; }
    // The system's error number of the failed step (0 when none): errno here, a Win32
    // error code on Windows; systemErrorText() words either.
    int errorNumber() const { return m_errno; }
    // The file that is really replaced (the end of any chain of links).
    const std::string& finalPath() const { return m_finalPath; }
    const std::string& temporaryPath() const { return m_tempPath; }
    // Where the complete new bytes stay after a failed commit (empty when nothing was kept).
    const std::string& keptCopyPath() const { return m_keptCopyPath; }

private:
    bool fail(Failure failure, int errorNumber);
    bool resolveFinalPath();

    std::string m_targetPath;
    std::string m_finalPath;
    std::string m_tempPath;
    std::string m_keptCopyPath;
    Failure m_failure = Failure::None;
    int m_errno = 0;
    bool m_open = false;
    bool m_committed = false;
#ifdef _WIN32
    void* m_handle = nullptr;
#else
    int m_fd = -1;
#endif
};

// Replaces the file at `path` with `bytes` as a whole or not at all. On failure
// `errorNumber` holds the system's error number (see errorNumber()).
bool writeWholeFile(const std::string& path, const std::string& bytes, int& errorNumber);

} // namespace deskpanel
