#pragma once
#include <optional>
#include <string>
#include <vector>

namespace deskpanel {

// A private profile (INI) file with the semantics the program has always relied on:
// section and key names compare without regard to case, blanks around names and values
// do not count, a value in matching quotes loses them, CRLF and LF both end a line, and
// the first of duplicate sections or keys wins. Lines the file holds besides the ones
// changed (comments, other sections) are kept as they are.
class IniFile {
public:
    // A missing or unreadable file reads as empty; one that exists but could not be read
    // whole (too large, or not readable) also says so in wasReadWhole().
    static IniFile load(const std::string& path);
    static IniFile parse(const std::string& text);

    std::optional<std::string> value(const std::string& section, const std::string& key) const;
    // Replaces the key's line, or adds it at the end of its section, creating the
    // section at the end of the file when needed. Line breaks in a value become blanks.
    void setValue(const std::string& section, const std::string& key, const std::string& value);
    void removeKey(const std::string& section, const std::string& key);
    // The names of the section's keys in the order the file holds them.
    std::vector<std::string> keys(const std::string& section) const;
    void removeSection(const std::string& section);

    std::string text() const;
    // False when load() found a file it could not read whole.
    bool wasReadWhole() const { return m_readWhole; }
    // Replaces the file atomically, creating its folder when missing. Refused (false)
    // for a file that was not read whole, so nothing of it is lost.
    bool save(const std::string& path) const;

private:
    struct Range {
        std::size_t header; // the line of "[name]"
        std::size_t end; // one past the section's last line
    };
    std::optional<Range> findSection(const std::string& section) const;
    std::optional<std::size_t> findKey(const Range& range, const std::string& key) const;

    std::vector<std::string> m_lines;
    std::string m_newline = "\n";
    bool m_readWhole = true;
};

// One value of a profile file, or `fallback` when the file, section or key is missing.
std::string readProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& fallback = {});
// Writes one value; false when the file could not be written.
bool writeProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value);

// The whole number a profile value holds (blanks around it do not count), or nothing
// when the value is missing or is not one.
std::optional<long> profileNumber(const std::optional<std::string>& value);

// Creates a folder and its missing parents; true when it exists afterwards.
bool makeFolders(const std::string& folder);

} // namespace deskpanel
