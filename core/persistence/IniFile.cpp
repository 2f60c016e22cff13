#include "core/persistence/IniFile.h"

#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/ByteSource.h"
#include "core/persistence/PathText.h"
#include "core/persistence/WideText.h"

#include <cerrno>
#include <charconv>
#include <sys/stat.h>
#ifdef _WIN32
#include <direct.h>
#endif

namespace deskpanel {
namespace {

// Profile files are small; one larger than this is not read, and never rewritten.
constexpr std::size_t MaxProfileBytes = std::size_t{16} << 20;

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

std::optional<std::string> sectionName(const std::string& line)
{
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(t.substr(1, close - 1));
}

std::string withoutBreaks(std::string s)
{
    for (char& c : s) {
        if (c == '\r' || c == '\n')
            c = ' ';
    }
    return s;
}

} // namespace

IniFile IniFile::parse(const std::string& text)
{
    IniFile file;
    if (text.find("\r\n") != std::string::npos)
        file.m_newline = "\r\n";
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        file.m_lines.push_back(std::move(line));
        start = end + 1;
    }
    return file;
}

IniFile IniFile::load(const std::string& path)
{
    IniFile unread;
    FileSource source(path);
    if (!source.isOpen()) {
        // A missing file holds nothing to lose.
#ifdef _WIN32
        unread.m_readWhole = GetFileAttributesW(widenUtf8(path).c_str()) == INVALID_FILE_ATTRIBUTES;
#else
        struct stat st {};
        unread.m_readWhole = ::stat(path.c_str(), &st) != 0;
#endif
        return unread;
    }
    std::string text;
    std::uint8_t chunk[1 << 16];
    for (;;) {
        const std::size_t n = source.read(chunk, sizeof chunk);
        text.append(reinterpret_cast<const char*>(chunk), n);
        if (text.size() > MaxProfileBytes) {
            unread.m_readWhole = false;
            return unread;
        }
        if (n < sizeof chunk)
            break;
    }
    return parse(text);
}

std::optional<IniFile::Range> IniFile::findSection(const std::string& section) const
{
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const auto name = sectionName(m_lines[i]);
        if (!name || !equalsIgnoringCase(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < m_lines.size() && !sectionName(m_lines[end]))
            ++end;
        return Range{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> IniFile::findKey(const Range& range, const std::string& key) const
{
    for (std::size_t i = range.header + 1; i < range.end; ++i) {
        const std::string t = trim(m_lines[i]);
        if (t.empty() || t.front() == ';')
            continue;
        const auto eq = t.find('=');
        if (eq == std::string::npos)
            continue;
        if (equalsIgnoringCase(trim(t.substr(0, eq)), trim(key)))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> IniFile::value(const std::string& section, const std::string& key) const
{
    const auto range = findSection(section);
    if (!range)
        return std::nullopt;
    const auto line = findKey(*range, key);
    if (!line)
        return std::nullopt;
    const std::string& text = m_lines[*line];
    std::string v = trim(text.substr(text.find('=') + 1));
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return v;
}

void IniFile::setValue(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string line = withoutBreaks(trim(key)) + "=" + withoutBreaks(value);
    auto range = findSection(section);
    if (!range) {
        m_lines.push_back("[" + withoutBreaks(trim(section)) + "]");
        m_lines.push_back(line);
        return;
    }
    if (const auto at = findKey(*range, key)) {
        m_lines[*at] = line;
        return;
    }
    // After the section's last non-blank line, so a blank line before the next
    // section stays where it was.
    std::size_t insertAt = range->end;
    while (insertAt > range->header + 1 && trim(m_lines[insertAt - 1]).empty())
        --insertAt;
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

void IniFile::removeKey(const std::string& section, const std::string& key)
{
    const auto range = findSection(section);
    if (!range)
        return;
    if (const auto at = findKey(*range, key))
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*at));
}

std::vector<std::string> IniFile::keys(const std::string& section) const
{
    std::vector<std::string> names;
    const auto range = findSection(section);
    if (!range)
        return names;
    for (std::size_t i = range->header + 1; i < range->end; ++i) {
        const std::string t = trim(m_lines[i]);
        if (t.empty() || t.front() == ';')
            continue;
        if (const auto eq = t.find('='); eq != std::string::npos)
            names.push_back(trim(t.substr(0, eq)));
    }
    return names;
}

void IniFile::removeSection(const std::string& section)
{
    // Every copy of the section goes, so no older duplicate comes back to light.
    while (const auto range = findSection(section)) {
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(range->header),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(range->end));
    }
}

std::string IniFile::text() const
{
    std::string out;
    for (const auto& line : m_lines)
        out += line + m_newline;
    return out;
}

bool IniFile::save(const std::string& path) const
{
    if (!m_readWhole)
        return false;
    const std::string folder = directoryPart(path);
    if (!folder.empty() && !makeFolders(folder))
        return false;
    AtomicFileWriter writer(path);
    const std::string bytes = text();
    return writer.open() && writer.write(bytes.data(), bytes.size()) && writer.commit();
}

std::string readProfileString(const std::string& path, const std::string& section, const std::string& key,
                              const std::string& fallback)
{
    return IniFile::load(path).value(section, key).value_or(fallback);
}

bool writeProfileString(const std::string& path, const std::string& section, const std::string& key,
                        const std::string& value)
{
    IniFile file = IniFile::load(path);
    file.setValue(section, key, value);
    return file.save(path);
}

std::optional<long> profileNumber(const std::optional<std::string>& value)
{
    if (!value)
        return std::nullopt;
    const std::string text = trim(*value);
    long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

bool makeFolders(const std::string& folder)
{
    std::string path;
    for (std::size_t i = 0; i <= folder.size(); ++i) {
        if (i == folder.size() || (isPathSeparator(folder[i]) && i > 0)) {
            path = folder.substr(0, i);
            if (path.empty() || (path.size() == 2 && path[1] == ':'))
                continue;
#ifdef _WIN32
            const int made = _wmkdir(widenUtf8(path).c_str());
#else
            const int made = mkdir(path.c_str(), 0777);
#endif
            if (made != 0 && errno != EEXIST)
                return false;
        }
    }
#ifdef _WIN32
    // Unlike _wstat, this takes a folder with a trailing separator.
    const DWORD attributes = GetFileAttributesW(widenUtf8(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
#else
    struct stat st {};
    return stat(folder.c_str(), &st) == 0 && (st.st_mode & S_IFDIR) != 0;
#endif
}

} // namespace deskpanel
