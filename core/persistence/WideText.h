#pragma once
#ifdef _WIN32
#include <windows.h>

#include <string>

namespace deskpanel {

// Texts and paths are UTF-8 in memory; Windows' wide calls take them whatever the ANSI
// code page is.
inline std::wstring widenUtf8(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

} // namespace deskpanel
#endif
