#include "Win32Platform.h"

#include <windows.h>

#include "PathRules.h"
#include "ShellEntries.h"

namespace {

class Win32Enumeration : public DirectoryEnumeration {
public:
    Win32Enumeration(HANDLE find, const WIN32_FIND_DATAA& first) : m_find(find), m_data(first) {}
    ~Win32Enumeration() override { FindClose(m_find); }
    Win32Enumeration(const Win32Enumeration&) = delete;
    Win32Enumeration& operator=(const Win32Enumeration&) = delete;

    bool next(DirectoryEntry& entry) override
    {
        // FindFirstFileA has already delivered the first entry.
        if (m_started && !FindNextFileA(m_find, &m_data))
            return false;
        m_started = true;
        entry.name = m_data.cFileName;
        entry.isDirectory = (m_data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.readOnly = (m_data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
        return true;
    }

private:
    HANDLE m_find;
    WIN32_FIND_DATAA m_data;
    bool m_started = false;
};

} // namespace

PathStyle Win32Platform::pathStyle() const
{
    return PathStyle{'\\', MAX_PATH, true};
}

void Win32Platform::messageBox(const std::string& caption, const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK);
}

bool Win32Platform::findTopLevelWindow(const std::string& title)
{
    return FindWindowA(nullptr, title.c_str()) != nullptr;
}

void Win32Platform::pauseBetweenLookups()
{
    Sleep(100);
}

bool Win32Platform::removeDirectory(const std::string& path)
{
    return RemoveDirectoryA(path.c_str()) != 0;
}

std::unique_ptr<DirectoryEnumeration> Win32Platform::enumerate(const std::string& directory)
{
    std::string pattern = directory + "\\*.*";
    if (pattern.size() >= MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return nullptr;
    }
    WIN32_FIND_DATAA first;
    HANDLE find = FindFirstFileA(pattern.c_str(), &first);
    if (find == INVALID_HANDLE_VALUE)
        return nullptr;
    return std::make_unique<Win32Enumeration>(find, first);
}

bool Win32Platform::setAttributesNormal(const std::string& path)
{
    return SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
}

bool Win32Platform::deleteFile(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0;
}

PlatformError Win32Platform::lastError() const
{
    switch (GetLastError()) {
    case ERROR_SUCCESS: return PlatformError::None;
    case ERROR_DIR_NOT_EMPTY: return PlatformError::DirNotEmpty;
    case ERROR_NO_MORE_FILES: return PlatformError::NoMoreFiles;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return PlatformError::PathNotFound;
    default: return PlatformError::Other;
    }
}

bool Win32Platform::deleteAtRestart(const std::string& path)
{
    return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

bool Win32Platform::readFile(const std::string& path, std::string& contents) const
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    contents.clear();
    char buffer[4096];
    DWORD read = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr) != 0) && read > 0)
        contents.append(buffer, read);
    CloseHandle(file);
    return ok;
}

void Win32Platform::forgetInstallation(const std::string& folder)
{
    ShellEntries::remove(folder);
}

PathKind Win32Platform::kindOf(const std::string& path) const
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathKind::Missing;
    // A junction or folder link is not an installation folder; deleting "through" it
    // would reach somewhere else.
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return PathKind::Other;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? PathKind::Directory : PathKind::Other;
}

bool Win32Platform::isAbsolute(const std::string& path) const
{
    return PathRules::isWindowsAbsolute(path);
}

std::string Win32Platform::fullPath(const std::string& path) const
{
    char buffer[MAX_PATH];
    DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
    if (length == 0 || length >= MAX_PATH)
        return {};
    if (GetFileAttributesA(buffer) == INVALID_FILE_ATTRIBUTES)
        return {};
    return PathRules::withoutTrailingSeparators(buffer, '\\');
}

bool Win32Platform::isFilesystemRoot(const std::string& fullPath) const
{
    return PathRules::isWindowsDriveOrShareRoot(fullPath);
}

std::string Win32Platform::homeFolder() const
{
    char buffer[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("USERPROFILE", buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(buffer, length);
}
