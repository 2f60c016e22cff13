#pragma once
#include <filesystem>
#include <string>

namespace deskpanel {

// The one way a UTF-8 path reaches std streams and std::filesystem. On Windows a narrow
// path would be read in the ANSI code page ("Zürich" names another file, or none) and
// std::filesystem::u8path throws on bytes that are not UTF-8; the path is built from the
// wide form instead, and never throws. Elsewhere the bytes are the path.
std::filesystem::path nativePath(const std::string& utf8);

// A std::filesystem path back as UTF-8 (the inverse of nativePath).
std::string utf8FromPath(const std::filesystem::path& path);

} // namespace deskpanel
