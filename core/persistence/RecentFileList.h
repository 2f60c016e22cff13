#pragma once
#include "core/host/Operator.h"

#include <string>
#include <vector>

namespace deskpanel {

// The recent project files, most recent first, mirrored in the "Recent File List"
// section of the settings file as "File1".."File8".
class RecentFileList {
public:
    static constexpr int MaxEntries = 8;
    static constexpr int FirstCommandId = 520;

    RecentFileList(std::string settingsFile, Operator& op);

    // Reads "File1", "File2", ... up to the first missing key or the 8th; a path stays
    // only when its file can be opened for reading.
    void load();
    // Enters a path: a listed one changes places with the first entry, a new one goes
    // first and pushes the 8th out. A new path whose file name has fewer than 4
    // characters is refused with "Bad file". The section is rewritten and read again.
    void add(const std::string& path);

    const std::vector<std::string>& entries() const { return m_entries; }

    // The submenu item: "&1. /shows/a.vpf".
    static std::string menuText(int number, const std::string& path);
    static int commandId(int number) { return FirstCommandId + number - 1; }

private:
    void store() const;

    std::string m_settingsFile;
    Operator& m_operator;
    std::vector<std::string> m_entries;
};

// "Data Directory" / "Last Used Directory": a folder ending in its separator, or empty.
std::string readLastUsedDirectory(const std::string& settingsFile);
void writeLastUsedDirectory(const std::string& settingsFile, const std::string& folder);

} // namespace deskpanel
