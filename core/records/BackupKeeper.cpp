#include "core/records/BackupKeeper.h"

#include "core/model/Text.h"
#include "core/persistence/PathText.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace deskpanel {

namespace fs = std::filesystem;

namespace {

constexpr const char* StagedName = ".staged.vpf";
constexpr std::size_t StampLength = 17; // "YYYY-MM-DD HHMMSS"

std::uint32_t pathHash(const std::string& path)
{
    // FNV-1a: the same path gives the same folder in every run and on every machine.
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : path) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

bool sameContents(const std::string& a, const std::string& b)
{
    std::error_code error;
    if (fs::file_size(a, error) != fs::file_size(b, error) || error)
        return false;
    std::ifstream left(a, std::ios::binary), right(b, std::ios::binary);
    char x[65536], y[65536];
    while (left && right) {
        left.read(x, sizeof x);
        right.read(y, sizeof y);
        if (left.gcount() != right.gcount() || !std::equal(x, x + left.gcount(), y))
            return false;
    }
    return !left.bad() && !right.bad();
}

} // namespace

BackupKeeper::BackupKeeper(std::string root, const WallClock& wall) : m_root(std::move(root)), m_wall(wall)
{}

std::string BackupKeeper::projectNameOf(const std::string& projectPath)
{
    std::string name = fileNamePart(projectPath);
    if (name.size() > 4 && equalsIgnoringCase(name.substr(name.size() - 4), ".vpf"))
        name.resize(name.size() - 4);
    return name;
}

std::string BackupKeeper::folderFor(const std::string& projectPath) const
{
    return m_root + "/" + projectNameOf(projectPath) + format("-%08x", pathHash(projectPath));
}

std::vector<BackupKeeper::Backup> BackupKeeper::list(const std::string& projectPath) const
{
    std::vector<Backup> backups;
    const std::string prefix = projectNameOf(projectPath) + " ";
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folderFor(projectPath), error)) {
        const std::string name = entry.path().filename().string();
        if (name.size() != prefix.size() + StampLength + 4 || name.compare(0, prefix.size(), prefix) != 0 ||
            name.compare(name.size() - 4, 4, ".vpf") != 0)
            continue;
        std::error_code sizeError;
        const auto size = entry.file_size(sizeError);
        backups.push_back({entry.path().string(), name.substr(prefix.size(), StampLength), sizeError ? 0 : size});
    }
    std::sort(backups.begin(), backups.end(), [](const Backup& a, const Backup& b) { return a.stamp > b.stamp; });
    return backups;
}

void BackupKeeper::stage(const std::string& projectPath)
{
    std::lock_guard lock(m_mutex);
    m_stagedFor.clear();
    m_stageError.clear();
    std::error_code error;
    if (!fs::is_regular_file(projectPath, error))
        return; // a first save replaces nothing
    const std::string folder = folderFor(projectPath);
    const std::string staged = folder + "/" + StagedName;
    fs::create_directories(folder, error);
    // A copy left by a save that failed goes first: the Windows library's copy_file does
    // not overwrite, whatever its options say.
    std::error_code noCopy;
    fs::remove(staged, noCopy);
    fs::remove(staged + SidecarSuffix, noCopy);
    if (!error)
        fs::copy_file(projectPath, staged, fs::copy_options::overwrite_existing, error);
    if (error) {
        m_stageError = format("The backup of %s could not be written to %s (%s).", projectPath.c_str(), folder.c_str(),
                              error.message().c_str());
        return;
    }
    const std::string sidecar = projectPath + SidecarSuffix;
    m_stagedSidecar = fs::is_regular_file(sidecar, error) &&
                      fs::copy_file(sidecar, staged + SidecarSuffix, fs::copy_options::overwrite_existing, error);
    // The replaced file's own time names it: "the version saved at 14:02".
    WallTime stamp = m_wall.now();
    const auto written = fs::last_write_time(projectPath, error);
    if (!error)
        stamp.msSinceEpoch = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::file_clock::to_sys(written).time_since_epoch())
                                 .count();
    m_stagedStamp = wallTimeStamp(stamp);
    m_stagedFor = projectPath;
}

std::string BackupKeeper::commit(const std::string& projectPath)
{
    std::lock_guard lock(m_mutex);
    if (!m_stageError.empty()) {
        std::string message = m_stageError;
        m_stageError.clear();
        return message;
    }
    if (m_stagedFor != projectPath)
        return {};
    m_stagedFor.clear();
    const std::string folder = folderFor(projectPath);
    const std::string staged = folder + "/" + StagedName;
    std::error_code error;
    const auto existing = list(projectPath);
    // An unchanged file (an autosave with nothing new) would only push real history out.
    if (!existing.empty() && sameContents(staged, existing.front().path)) {
        fs::remove(staged, error);
        fs::remove(staged + SidecarSuffix, error);
        return {};
    }
    std::string target = folder + "/" + projectNameOf(projectPath) + " " + m_stagedStamp + ".vpf";
    fs::rename(staged, target, error);
    if (error)
        return format("The backup of %s could not be kept in %s (%s).", projectPath.c_str(), folder.c_str(),
                      error.message().c_str());
    std::error_code sidecarError;
    if (m_stagedSidecar)
        fs::rename(staged + SidecarSuffix, target + SidecarSuffix, sidecarError);
    else
        fs::remove(target + SidecarSuffix, sidecarError); // a sidecar of an older backup of the same name

    // Pruning: what is not kept goes, with its sidecar.
    const auto backups = list(projectPath);
    std::vector<std::string> stamps;
    for (const Backup& b : backups)
        stamps.push_back(b.stamp);
    WallTime cutoff = m_wall.now();
    cutoff.msSinceEpoch -= std::int64_t{KeepDays - 1} * 86400000;
    const std::vector<bool> kept = keptStamps(stamps, wallTimeStamp(cutoff).substr(0, 10));
    for (std::size_t i = 0; i < backups.size(); ++i) {
        if (kept[i])
            continue;
        fs::remove(backups[i].path, error);
        fs::remove(backups[i].path + SidecarSuffix, error);
    }
    return {};
}

std::vector<bool> BackupKeeper::keptStamps(const std::vector<std::string>& newestFirst, const std::string& cutoffDate)
{
    std::vector<bool> kept(newestFirst.size(), false);
    std::string lastDay;
    for (std::size_t i = 0; i < newestFirst.size(); ++i) {
        const std::string day = newestFirst[i].substr(0, 10);
        if (i < static_cast<std::size_t>(KeepNewest))
            kept[i] = true;
        if (day != lastDay && day >= cutoffDate)
            kept[i] = true; // the newest of its day
        lastDay = day;
    }
    return kept;
}

} // namespace deskpanel
