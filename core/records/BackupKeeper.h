#pragma once
#include "core/host/WallClock.h"
#include "core/records/BackupName.h"

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace deskpanel {

// Keeps the project file that a save replaces (and its ".safes" sidecar, when there is
// one) in "<root>/<name>-<8 hex digits of a hash of the project's full path>/" as
// "<name> <YYYY-MM-DD HHMMSS+HHMM #NNN>.vpf", named by the moment the save took it (see
// BackupName). Kept: the newest 20, and the newest of each of the last 14 days, newest
// by the moment taken; the backup a save has just made and the ones being opened are
// never pruned.
//
// stage() runs where the file is written, just before it is replaced: it copies the
// old file aside and hands back a token for that copy. commit() runs after the write
// succeeded and makes that copy a backup; discard() drops the copy of a failed save.
// Each copy belongs to the save that staged it, so saves that overlap never take each
// other's. Neither ever stops a save: failures come back as a message.
class BackupKeeper {
public:
    static constexpr int KeepNewest = 20;
    static constexpr int KeepDays = 14;
    static constexpr const char* SidecarSuffix = ".safes";

    struct Backup {
        std::string path;
        std::string stamp; // what the name holds after the project's name
        BackupName name;
        std::uint64_t size = 0;
    };
    // 0: nothing was staged (a first save replaces nothing).
    using Token = std::uint64_t;

    BackupKeeper(std::string root, const WallClock& wall);

    // The folder of one project's backups.
    std::string folderFor(const std::string& projectPath) const;
    // The project's backups, newest first.
    std::vector<Backup> list(const std::string& projectPath) const;

    // Copies the file at `projectPath` aside, unless it is the same as the newest backup
    // (an autosave with nothing new would only push real history out). Any thread.
    Token stage(const std::string& projectPath);
    // After a successful write of `projectPath`: the copy of `token` becomes a backup and
    // the old ones are pruned. Empty, or what went wrong (this save's backup or pruning).
    std::string commit(Token token, const std::string& projectPath);
    // After a failed write: the copy of `token` goes.
    void discard(Token token);

    // While one lives, the backup at `path` is not pruned (it is being opened).
    class Held {
    public:
        Held(BackupKeeper& keeper, std::string path);
        ~Held();
        Held(const Held&) = delete;
        Held& operator=(const Held&) = delete;

    private:
        BackupKeeper& m_keeper;
        std::string m_path;
    };

    // Which of the days (of backups newest first, "YYYY-MM-DD") stay: the first
    // KeepNewest, and the first of each day from `cutoffDate` (the oldest of the days
    // kept) on.
    static std::vector<bool> keptStamps(const std::vector<std::string>& newestFirst, const std::string& cutoffDate);
    // The project's name as its folder and files use it: the file name without ".vpf".
    static std::string projectNameOf(const std::string& projectPath);

private:
    struct Staged {
        std::string projectPath;
        std::string copy; // empty: the file equals the newest backup, nothing to keep
        WallTime taken;
        bool sidecar = false;
        std::string error;
    };
    void prune(const std::string& projectPath, const std::string& justMade);
    bool isHeld(const std::string& path) const;

    std::string m_root;
    const WallClock& m_wall;
    mutable std::mutex m_mutex;
    Token m_lastToken = 0;
    std::map<Token, Staged> m_staged;
    std::multiset<std::string> m_held;
};

} // namespace deskpanel
