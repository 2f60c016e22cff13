#include "core/persistence/RecentFileList.h"

#include "core/model/Text.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/IniFile.h"
#include "core/persistence/PathText.h"

namespace deskpanel {
namespace {

constexpr const char* Section = "Recent File List";

std::string keyOf(int number)
{
    return format("File%d", number);
}

bool canBeRead(const std::string& path)
{
    return !path.empty() && FileSource(path).isOpen();
}

} // namespace

RecentFileList::RecentFileList(std::string settingsFile, Operator& op)
    : m_settingsFile(std::move(settingsFile)), m_operator(op)
{}

void RecentFileList::load()
{
    m_entries.clear();
    const IniFile file = IniFile::load(m_settingsFile);
    for (int number = 1; number <= MaxEntries; ++number) {
        const auto path = file.value(Section, keyOf(number));
        if (!path)
            break;
        if (canBeRead(*path))
            m_entries.push_back(*path);
    }
}

void RecentFileList::add(const std::string& path)
{
    std::vector<std::string> held = m_entries;
    held.resize(MaxEntries);

    bool listed = false;
    for (std::size_t k = 0; k < held.size(); ++k) {
        if (!held[k].empty() && equalsIgnoringCase(held[k], path)) {
            std::swap(held[0], held[k]);
            listed = true;
            break;
        }
    }
    if (!listed) {
        if (characterCount(fileNamePart(path)) < 4) {
            m_operator.platformMessage("Bad file");
            return;
        }
        held.pop_back();
        held.insert(held.begin(), path);
    }

    // Non-empty entries in order, each run of equal neighbours kept once.
    std::vector<std::string> final;
    for (const auto& entry : held) {
        if (entry.empty() || (!final.empty() && final.back() == entry))
            continue;
        final.push_back(entry);
    }
    m_entries = std::move(final);
    store();
    load();
}

void RecentFileList::store() const
{
    IniFile file = IniFile::load(m_settingsFile);
    if (!file.wasReadWhole()) {
        // Writing the list back would replace whatever else the file holds.
        m_operator.platformMessage(
            format("The settings file %s could not be read and has not been changed.", m_settingsFile.c_str()));
        return;
    }
    file.removeSection(Section);
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        file.setValue(Section, keyOf(static_cast<int>(i) + 1), m_entries[i]);
    file.save(m_settingsFile); // a failed write is ignored: the list is only a convenience
}

std::string RecentFileList::menuText(int number, const std::string& path)
{
    return format("%c%d. %s", '&', number, path.c_str());
}

// On Windows the folder is kept as Windows writes it, "C:\Shows\", whatever separators
// the file dialog gave; one an earlier version stored with "/" reads the same way.
std::string readLastUsedDirectory(const std::string& settingsFile)
{
    const std::string folder = readProfileString(settingsFile, "Data Directory", "Last Used Directory");
#ifdef _WIN32
    return windowsFolderText(folder);
#else
    return folder;
#endif
}

void writeLastUsedDirectory(const std::string& settingsFile, const std::string& folder)
{
#ifdef _WIN32
    writeProfileString(settingsFile, "Data Directory", "Last Used Directory", windowsFolderText(folder));
#else
    writeProfileString(settingsFile, "Data Directory", "Last Used Directory", folder);
#endif
}

} // namespace deskpanel
