#pragma once

#include <string>
#include <vector>

// The list of the files that the installer put into an installation folder, kept in the
// folder as "installed-files.txt": one path a line, relative to the folder, with "\" or
// "/" between folder names. The removal deletes only what it names.
namespace InstalledFileList {

inline constexpr const char* FileName = "installed-files.txt";

// The listed paths, each written with the given separator, in the order of the list.
// Blank lines are skipped, and so is every line that could reach outside the folder (an
// absolute path, a drive letter, a "." or ".." step): an altered list must never make the
// removal delete something elsewhere.
std::vector<std::string> parse(const std::string& text, char separator);

} // namespace InstalledFileList
