#include "core/persistence/PathText.h"

namespace deskpanel {

bool isPathSeparator(char c)
{
#ifdef _WIN32
    return c == '\\' || c == '/' || c == ':';
#else
    return c == '/';
#endif
}

std::string fileNamePart(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isPathSeparator(path[i - 1]))
            return path.substr(i);
    }
    return path;
}

std::string directoryPart(const std::string& path)
{
    for (std::size_t i = path.size(); i > 0; --i) {
        if (isPathSeparator(path[i - 1]))
            return path.substr(0, i);
    }
    return {};
}

std::string windowsFolderText(const std::string& folder)
{
    std::string text = folder;
    for (char& c : text)
        if (c == '/')
            c = '\\';
    // "C:" alone is the drive's current folder, not its top: it stays as it is.
    if (!text.empty() && text.back() != '\\' && text.back() != ':')
        text += '\\';
    return text;
}

bool equalsIgnoringCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace deskpanel
