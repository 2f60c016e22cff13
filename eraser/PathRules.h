#pragma once

#include <string>

#include "RemovalPlatform.h"

// Plain text rules about paths and command lines, free of any system call so that both
// programs share them and the tests check them on any machine.
namespace PathRules {

// What a Windows program's start-up code passes on as its command line: everything
// after the program's own name (quoted or not), leading blanks skipped.
std::string commandLineTail(const char* commandLine);

// "C:\dir" and "\\server\share" are absolute; "dir", "C:dir" and "\dir" are not.
bool isWindowsAbsolute(const std::string& path);
// A drive root ("C:\") or the top of a network share ("\\server\share\").
bool isWindowsDriveOrShareRoot(const std::string& fullPath);

// The path without separators at its end, keeping a lone separator ("/") and a
// drive root ("C:\") as they are.
std::string withoutTrailingSeparators(const std::string& path, char separator);

// Whether inner is folder itself or lies somewhere below it.
bool isSameOrInside(const std::string& folder, const std::string& inner, const PathStyle& style);

} // namespace PathRules
