#pragma once

#include <string>

// Small text helpers of the Windows removal programs.
namespace WindowsText {

// An environment variable holding a folder; empty when unset or too long for MAX_PATH.
std::string environmentFolder(const char* name);
// The folder with one "\" at its end.
std::string withBackslash(std::string folder);
// The last error in the system's words, without the full stop and line end.
std::string lastErrorText();
// UTF-16 to UTF-8 and back.
std::string toUtf8(const std::wstring& text);
std::wstring fromUtf8(const std::string& text);

} // namespace WindowsText
