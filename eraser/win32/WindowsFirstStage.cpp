#include "WindowsFirstStage.h"

#include <windows.h>

#include <utility>

#include "PathRules.h"

namespace {

std::string environmentFolder(const char* name)
{
    char buffer[MAX_PATH];
    const DWORD length = GetEnvironmentVariableA(name, buffer, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(buffer, length);
}

std::string withBackslash(std::string folder)
{
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

std::string lastErrorText()
{
    char* text = nullptr;
    const DWORD code = GetLastError();
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string result = text ? text : "error " + std::to_string(code);
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r' || result.back() == '.'))
        result.pop_back();
    return result;
}

std::string readString(HKEY root, const std::string& key, const char* name)
{
    char buffer[1024];
    DWORD size = sizeof buffer;
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return {};
    return buffer;
}

bool sameFolder(const std::string& a, const std::string& b)
{
    return !a.empty() && lstrcmpiA(PathRules::withoutTrailingSeparators(a, '\\').c_str(),
                                   PathRules::withoutTrailingSeparators(b, '\\').c_str()) == 0;
}

std::string recordFolder(const std::string& record)
{
    char buffer[MAX_PATH];
    GetPrivateProfileStringA("File Location", "Main Exe File", "", buffer, MAX_PATH, record.c_str());
    return buffer;
}

} // namespace

WindowsFirstStage::WindowsFirstStage(std::string installFolder) : m_installFolder(std::move(installFolder))
{}

std::vector<std::string> WindowsFirstStage::copyTargets(const std::string& temporaryFolder)
{
    std::vector<std::string> targets{std::string("C:\\") + ErasePanelName};
    if (!temporaryFolder.empty())
        targets.push_back(withBackslash(temporaryFolder) + ErasePanelName);
    return targets;
}

std::string WindowsFirstStage::run()
{
    if (m_installFolder.empty())
        return "The installation folder of this program cannot be found.";
    std::string error = copyErasePanel();
    if (error.empty())
        error = startCopy();
    if (!error.empty())
        return error;
    removeShellEntries();
    return {};
}

std::string WindowsFirstStage::copyErasePanel()
{
    const std::string source = withBackslash(m_installFolder) + ErasePanelName;
    std::string reasons;
    for (const std::string& target : copyTargets(environmentFolder("TEMP"))) {
        if (CopyFileA(source.c_str(), target.c_str(), FALSE)) {
            m_copyPath = target;
            return {};
        }
        reasons += "\n" + target + ": " + lastErrorText();
    }
    return "The removal program \"" + source + "\" could not be copied:" + reasons;
}

std::string WindowsFirstStage::startCopy()
{
    // ErasePanel takes the whole rest of its command line as the folder, unquoted.
    std::string commandLine = "\"" + m_copyPath + "\" " + m_installFolder;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(m_copyPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup,
                        &process))
        return "The removal program \"" + m_copyPath + "\" could not be started: " + lastErrorText();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}

void WindowsFirstStage::removeShellEntries()
{
    // Only what belongs to this installation: entries naming another folder stay.
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (sameFolder(readString(root, UninstallKey, "InstallLocation"), m_installFolder))
            RegDeleteTreeA(root, UninstallKey);
    }
    for (const char* startMenu : {"APPDATA", "ProgramData"}) {
        const std::string base = environmentFolder(startMenu);
        if (!base.empty())
            DeleteFileA((base + "\\Microsoft\\Windows\\Start Menu\\Programs\\" + ShortcutName).c_str());
    }
    const std::string appData = environmentFolder("APPDATA");
    for (const std::string& record : {appData.empty() ? std::string() : appData + "\\Veltara-RP8.ini",
                                      std::string("C:\\Windows\\Veltara-RP8.ini")}) {
        if (!record.empty() && sameFolder(recordFolder(record), m_installFolder))
            DeleteFileA(record.c_str());
    }
    // DeskPanel's association: the class is named after its path without blanks.
    std::string className;
    for (char c : withBackslash(m_installFolder) + "DeskPanel.exe") {
        if (c != ' ')
            className += c;
    }
    // The installer writes it for all users or for one, DeskPanel for its user.
    const std::string classes = "Software\\Classes\\";
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (lstrcmpiA(readString(root, classes + ".vpf", nullptr).c_str(), className.c_str()) == 0)
            RegDeleteTreeA(root, (classes + ".vpf").c_str());
        // The class name holds backslashes, so its key lies several levels deep; the
        // levels above it go too once they are empty (a key with sub-keys stays).
        RegDeleteTreeA(root, (classes + className).c_str());
        for (auto cut = className.rfind('\\'); cut != std::string::npos && cut > 0;
             cut = className.rfind('\\', cut - 1)) {
            if (RegDeleteKeyA(root, (classes + className.substr(0, cut)).c_str()) != ERROR_SUCCESS)
                break;
        }
    }
}
