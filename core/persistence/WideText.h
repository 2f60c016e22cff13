#pragma once
#ifdef _WIN32
#include <windows.h>

#include <string>

namespace deskpanel {

// Texts and paths are UTF-8 in memory; Windows' wide calls take them whatever the ANSI
// code page is. Bytes that are not UTF-8 become U+FFFD: never an exception.
inline std::wstring widenUtf8(const std::string& utf8)
{
    if (utf8.empty())
        return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

// What Windows gives as UTF-16 (folders, messages), once into UTF-8.
inline std::string narrowToUtf8(const std::wstring& wide)
{
    if (wide.empty())
        return {};
    const int n =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n, nullptr, nullptr);
    return utf8;
}

} // namespace deskpanel
#endif
