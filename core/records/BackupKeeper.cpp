#include "core/records/BackupKeeper.h"

#include "core/model/Text.h"
#include "core/persistence/NativePath.h"
#include "core/persistence/PathText.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace deskpanel {

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t DayMs = 86400000;

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
    if (fs::file_size(nativePath(a), error) != fs::file_size(nativePath(b), error) || error)
        return false;
    std::ifstream left(nativePath(a), std::ios::binary), right(nativePath(b), std::ios::binary);
    std::vector<char> x(65536), y(65536);
    while (left && right) {
        left.read(x.data(), static_cast<std::streamsize>(x.size()));
        right.read(y.data(), static_cast<std::streamsize>(y.size()));
        if (left.gcount() != right.gcount() || !std::equal(x.begin(), x.begin() + left.gcount(), y.begin()))
            return false;
    }
    return !left.bad() && !right.bad();
}

void removeCopy(const std::string& copy)
{
    std::error_code ignored;
    fs::remove(nativePath(copy), ignored);
    fs::remove(nativePath(copy + BackupKeeper::SidecarSuffix), ignored);
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
    const int offsetNow = m_wall.now().utcOffsetMinutes;
    std::error_code error;
    const std::string folder = folderFor(projectPath);
    for (const auto& entry : fs::directory_iterator(nativePath(folder), error)) {
        const std::string file = utf8FromPath(entry.path().filename());
        if (file.size() <= prefix.size() + 4 || file.compare(0, prefix.size(), prefix) != 0 ||
            file.compare(file.size() - 4, 4, ".vpf") != 0)
            continue;
        const std::string stamp = file.substr(prefix.size(), file.size() - prefix.size() - 4);
        const auto name = BackupName::parse(stamp, offsetNow);
        if (!name)
            continue;
        std::error_code sizeError;
        const auto size = entry.file_size(sizeError);
        // Spelt as every other path of the keeper is (the backup just made, one held open):
        // the directory's own form joins with "\" on Windows, so a comparison with those
        // would miss and pruning would take the very backup it must spare.
        backups.push_back({folder + "/" + file, stamp, *name, sizeError ? 0 : size});
    }
    std::sort(backups.begin(), backups.end(),
              [](const Backup& a, const Backup& b) { return a.name.newerThan(b.name); });
    return backups;
}

BackupKeeper::Token BackupKeeper::stage(const std::string& projectPath)
{
    std::error_code error;
    if (!fs::is_regular_file(nativePath(projectPath), error))
        return 0; // a first save replaces nothing
    Staged staged;
    staged.projectPath = projectPath;
    // The moment the old file is taken names its backup: the replaced file's own time
    // can repeat, go back with the clock change or be wrong altogether.
    staged.taken = m_wall.now();
    Token token = 0;
    {
        std::lock_guard lock(m_mutex);
        token = ++m_lastToken;
    }
    const std::string folder = folderFor(projectPath);
    // Compared here, on the worker: a large project takes a while to read twice.
    const auto existing = list(projectPath);
    if (existing.empty() || !sameContents(projectPath, existing.front().path)) {
        staged.copy = folder + "/" + format(".staged-%llu.vpf", static_cast<unsigned long long>(token));
        fs::create_directories(nativePath(folder), error);
        // A copy left under this name by a run that ended in the middle goes first: the
        // Windows library's copy_file does not overwrite, whatever its options say.
        removeCopy(staged.copy);
        if (!error)
            fs::copy_file(nativePath(projectPath), nativePath(staged.copy), fs::copy_options::overwrite_existing,
                          error);
        if (error) {
            staged.error = format("The backup of %s could not be written to %s (%s).", projectPath.c_str(),
                                  folder.c_str(), error.message().c_str());
            removeCopy(staged.copy);
            staged.copy.clear();
        } else {
            const std::string sidecar = projectPath + SidecarSuffix;
            staged.sidecar = fs::is_regular_file(nativePath(sidecar), error) &&
                             fs::copy_file(nativePath(sidecar), nativePath(staged.copy + SidecarSuffix),
                                           fs::copy_options::overwrite_existing, error);
        }
    }
    std::lock_guard lock(m_mutex);
    m_staged[token] = std::move(staged);
    return token;
}

void BackupKeeper::discard(Token token)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_staged.find(token);
    if (it == m_staged.end())
        return;
    if (!it->second.copy.empty())
        removeCopy(it->second.copy);
    m_staged.erase(it);
}

std::string BackupKeeper::commit(Token token, const std::string& projectPath)
{
    std::lock_guard lock(m_mutex);
    const auto it = m_staged.find(token);
    if (it == m_staged.end())
        return {};
    const Staged staged = std::move(it->second);
    m_staged.erase(it);
    if (!staged.error.empty())
        return staged.error;
    if (staged.copy.empty())
        return {};
    if (staged.projectPath != projectPath) {
        removeCopy(staged.copy);
        return {};
    }
    const std::string folder = folderFor(projectPath);
    const std::string base = folder + "/" + projectNameOf(projectPath) + " ";
    // Never over an existing backup: the number goes up until the name is free. The
    // lock keeps this run's saves apart; no second copy of the program runs.
    BackupName name{staged.taken, true, 0};
    std::string target;
    std::error_code error;
    for (int n = 1; n <= 999 && target.empty(); ++n) {
        name.sequence = n;
        const std::string candidate = base + name.text() + ".vpf";
        if (!fs::exists(fs::symlink_status(nativePath(candidate), error)) &&
            !fs::exists(fs::symlink_status(nativePath(candidate + SidecarSuffix), error)))
            target = candidate;
    }
    if (target.empty()) {
        removeCopy(staged.copy);
        return format("The backup of %s could not be kept in %s (every name for its time is taken).",
                      projectPath.c_str(), folder.c_str());
    }
    fs::rename(nativePath(staged.copy), nativePath(target), error);
    if (error) {
        removeCopy(staged.copy);
        return format("The backup of %s could not be kept in %s (%s).", projectPath.c_str(), folder.c_str(),
                      error.message().c_str());
    }
    if (staged.sidecar)
        fs::rename(nativePath(staged.copy + SidecarSuffix), nativePath(target + SidecarSuffix), error);
    prune(projectPath, target);
    return {};
}

void BackupKeeper::prune(const std::string& projectPath, const std::string& justMade)
{
    const auto backups = list(projectPath);
    std::vector<std::string> days;
    for (const Backup& b : backups)
        days.push_back(b.name.day());
    WallTime cutoff = m_wall.now();
    cutoff.msSinceEpoch -= std::int64_t{KeepDays - 1} * DayMs;
    const std::vector<bool> kept = keptStamps(days, wallTimeStamp(cutoff).substr(0, 10));
    std::error_code error;
    for (std::size_t i = 0; i < backups.size(); ++i) {
        if (kept[i] || backups[i].path == justMade || isHeld(backups[i].path))
            continue;
        fs::remove(nativePath(backups[i].path), error);
        fs::remove(nativePath(backups[i].path + SidecarSuffix), error);
    }
}

bool BackupKeeper::isHeld(const std::string& path) const
{
    return m_held.count(path) != 0; // the lock is held by the caller
}

BackupKeeper::Held::Held(BackupKeeper& keeper, std::string path) : m_keeper(keeper), m_path(std::move(path))
{
    std::lock_guard lock(m_keeper.m_mutex);
    m_keeper.m_held.insert(m_path);
}

BackupKeeper::Held::~Held()
{
    std::lock_guard lock(m_keeper.m_mutex);
    if (const auto it = m_keeper.m_held.find(m_path); it != m_keeper.m_held.end())
        m_keeper.m_held.erase(it);
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
