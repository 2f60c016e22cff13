#pragma once
#include "core/host/WallClock.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace deskpanel {

// Keeps the project file that a save replaces (and its ".safes" sidecar, when there is
// one) in "<root>/<name>-<8 hex digits of a hash of the project's full path>/" as
// "<name> <YYYY-MM-DD HHMMSS>.vpf", stamped with the replaced file's own time. Kept: the
// newest 20, and the newest of each of the last 14 days.
//
// stage() runs where the file is written, just before it is replaced: it copies the
// old file aside. commit() runs after the write succeeded and makes that copy a backup;
// a failed save leaves the staged copy unused (the next stage() replaces it). Neither
// ever stops a save: failures come back as a message.
class BackupKeeper {
public:
    static constexpr int KeepNewest = 20;
    static constexpr int KeepDays = 14;
    static constexpr const char* SidecarSuffix = ".safes";

    struct Backup {
        std::string path;
        std::string stamp; // "YYYY-MM-DD HHMMSS"
        std::uint64_t size = 0;
    };

    BackupKeeper(std::string root, const WallClock& wall);

    // The folder of one project's backups.
    std::string folderFor(const std::string& projectPath) const;
    // The project's backups, newest first.
    std::vector<Backup> list(const std::string& projectPath) const;

    // Copies the file at `projectPath` aside (nothing when there is none yet). Any thread.
    void stage(const std::string& projectPath);
    // After a successful write of `projectPath`: the staged copy becomes a backup and the
    // old ones are pruned. Empty, or what went wrong (this save's backup or pruning).
    std::string commit(const std::string& projectPath);

    // Which of the stamps (newest first) stay: the first KeepNewest, and the first of each
    // day from `cutoffDate` ("YYYY-MM-DD", the oldest of the days kept) on.
    static std::vector<bool> keptStamps(const std::vector<std::string>& newestFirst, const std::string& cutoffDate);
    // The project's name as its folder and files use it: the file name without ".vpf".
    static std::string projectNameOf(const std::string& projectPath);

private:
    std::string m_root;
    const WallClock& m_wall;
    std::mutex m_mutex;
    std::string m_stagedFor; // the project the staged copy belongs to; empty: none
    std::string m_stagedStamp;
    bool m_stagedSidecar = false;
    std::string m_stageError;
};

} // namespace deskpanel
