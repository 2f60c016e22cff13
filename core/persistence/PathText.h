#pragma once
#include <string>

namespace deskpanel {

// The separators of a path: "/" here, "\" and ":" (a drive letter) on Windows too.
bool isPathSeparator(char c);

// The text after the last separator ("Show.vpf" of "/home/a/Show.vpf").
std::string fileNamePart(const std::string& path);

// The folder of a path with its trailing separator ("/home/a/" of "/home/a/Show.vpf");
// empty when the path names no folder.
std::string directoryPart(const std::string& path);

// A folder as Windows shows and stores it: every "/" turned into "\" and ending in "\"
// ("C:\Shows\" of "C:/Shows"); empty, and a drive alone ("C:"), stay as they are.
std::string windowsFolderText(const std::string& folder);

// Equal without regard to the case of ASCII letters, the way the recent file list
// compares paths.
bool equalsIgnoringCase(const std::string& a, const std::string& b);

} // namespace deskpanel
