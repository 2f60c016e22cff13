#include "PathRules.h"

#include <algorithm>
#include <cctype>

namespace PathRules {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isSlash(char c)
{
    return c == '\\' || c == '/';
}

bool hasDriveLetter(const std::string& path)
{
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

char folded(char c, bool caseInsensitive)
{
    return caseInsensitive ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : c;
}

} // namespace

std::string commandLineTail(const char* commandLine)
{
    if (commandLine == nullptr)
        return {};
    const char* p = commandLine;
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"')
            ++p;
        if (*p == '"')
            ++p;
    } else {
        while (*p != '\0' && !isBlank(*p))
            ++p;
    }
    while (isBlank(*p))
        ++p;
    return p;
}

RemovalArguments removalArguments(const std::string& tail)
{
    if (tail == "/S")
        return {true, {}};
    if (tail.size() > 2 && tail.compare(0, 2, "/S") == 0 && isBlank(tail[2])) {
        std::size_t start = tail.find_first_not_of(" \t", 2);
        std::string rest = start == std::string::npos ? std::string() : tail.substr(start);
        // The silent form is typed by people and scripts, who quote a path with blanks.
        if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
            rest = rest.substr(1, rest.size() - 2);
        return {true, rest};
    }
    return {false, tail};
}

bool isWindowsAbsolute(const std::string& path)
{
    if (path.size() >= 3 && hasDriveLetter(path) && isSlash(path[2]))
        return true;
    return path.size() >= 3 && isSlash(path[0]) && isSlash(path[1]) && !isSlash(path[2]);
}

bool isWindowsDriveOrShareRoot(const std::string& fullPath)
{
    std::string path = withoutTrailingSeparators(fullPath, '\\');
    if (path.empty())
        return false;
    if (hasDriveLetter(path))
        return path.size() == 2 || (path.size() == 3 && isSlash(path[2]));
    if (path.size() < 2 || !isSlash(path[0]) || !isSlash(path[1]))
        return isSlash(path[0]);
    // \\server\share: the share is the root; anything deeper is a folder on it.
    int parts = 0;
    bool inPart = false;
    for (std::size_t i = 2; i < path.size(); ++i) {
        if (isSlash(path[i])) {
            inPart = false;
        } else if (!inPart) {
            inPart = true;
            ++parts;
        }
    }
    return parts <= 2;
}

std::string withoutTrailingSeparators(const std::string& path, char separator)
{
    std::string result = path;
    auto endsWithSeparator = [&] {
        return !result.empty() && (result.back() == separator || (separator == '\\' && result.back() == '/'));
    };
    while (result.size() > 1 && endsWithSeparator()) {
        if (separator == '\\' && result.size() == 3 && hasDriveLetter(result))
            break;
        result.pop_back();
    }
    return result;
}

bool sameName(const std::string& a, const std::string& b, const PathStyle& style)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return folded(x, style.caseInsensitive) == folded(y, style.caseInsensitive);
           });
}

bool isSameOrInside(const std::string& folder, const std::string& inner, const PathStyle& style)
{
    std::string base = withoutTrailingSeparators(folder, style.separator);
    if (base.empty() || inner.size() < base.size())
        return false;
    bool samePrefix = std::equal(base.begin(), base.end(), inner.begin(), [&](char a, char b) {
        return folded(a, style.caseInsensitive) == folded(b, style.caseInsensitive);
    });
    if (!samePrefix)
        return false;
    if (inner.size() == base.size())
        return true;
    return base.back() == style.separator || inner[base.size()] == style.separator;
}

bool isPerMachineInstallation(const std::string& folder, const std::vector<std::string>& programFilesFolders,
                              const std::string& machineRecordFolder)
{
    const PathStyle windows{'\\', 260, true};
    const std::string installation = withoutTrailingSeparators(folder, '\\');
    if (installation.empty())
        return false;
    for (const std::string& programFiles : programFilesFolders) {
        if (!programFiles.empty() && isSameOrInside(programFiles, installation, windows))
            return true;
    }
    return !machineRecordFolder.empty() &&
           sameName(withoutTrailingSeparators(machineRecordFolder, '\\'), installation, windows);
}

} // namespace PathRules
