#include "InstalledFileList.h"

#include <sstream>

namespace InstalledFileList {
namespace {

bool isSlash(char c)
{
    return c == '\\' || c == '/';
}

// The line as a path below the folder, or empty when it is not one.
std::string relativePath(const std::string& line, char separator)
{
    std::string result;
    std::string step;
    auto endStep = [&] {
        if (step.empty() || step == "." || step == ".." || step.find(':') != std::string::npos)
            return false;
        result += (result.empty() ? "" : std::string(1, separator)) + step;
        step.clear();
        return true;
    };
    if (line.empty() || isSlash(line.front()) || isSlash(line.back()))
        return {};
    for (char c : line) {
        if (c == '\0')
            return {};
        if (!isSlash(c)) {
            step += c;
        } else if (!endStep()) {
            return {};
        }
    }
    return endStep() ? result : std::string();
}

} // namespace

std::vector<std::string> parse(const std::string& text, char separator)
{
    std::vector<std::string> paths;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::string path = relativePath(line, separator);
        if (!path.empty())
            paths.push_back(path);
    }
    return paths;
}

} // namespace InstalledFileList
