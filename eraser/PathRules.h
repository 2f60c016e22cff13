#pragma once

#include <string>
#include <vector>

#include "RemovalPlatform.h"

// Plain text rules about paths and command lines, free of any system call so that both
// programs share them and the tests check them on any machine.
namespace PathRules {

// What a Windows program's start-up code passes on as its command line: everything
// after the program's own name (quoted or not), leading blanks skipped.
std::string commandLineTail(const char* commandLine);

// A removal program's command line after its own name: "/S <rest>" asks for the silent
// form (no message, only the exit code), and the rest is then what is left after "/S"
// and its blanks, without the quotes around it if it has them. Without "/S" first the
// whole tail is the rest, as it always was.
struct RemovalArguments {
    bool silent = false;
    std::string rest;
};
RemovalArguments removalArguments(const std::string& tail);

// "C:\dir" and "\\server\share" are absolute; "dir", "C:dir" and "\dir" are not.
bool isWindowsAbsolute(const std::string& path);
// A drive root ("C:\") or the top of a network share ("\\server\share\").
bool isWindowsDriveOrShareRoot(const std::string& fullPath);

// The path without separators at its end, keeping a lone separator ("/") and a
// drive root ("C:\") as they are.
std::string withoutTrailingSeparators(const std::string& path, char separator);

// Whether two names or relative paths name the same file (ignoring case where the
// platform does).
bool sameName(const std::string& a, const std::string& b, const PathStyle& style);

// Whether inner is folder itself or lies somewhere below it.
bool isSameOrInside(const std::string& folder, const std::string& inner, const PathStyle& style);

// Whether a Windows installation folder was installed for all users, so that removing it
// takes an administrator: it lies inside one of the Program Files folders, or the
// machine-wide installation record names it. Case and trailing separators do not count.
bool isPerMachineInstallation(const std::string& folder, const std::vector<std::string>& programFilesFolders,
                              const std::string& machineRecordFolder);

} // namespace PathRules
