#include "ShellEntries.h"

#include <windows.h>

#include "PathRules.h"
#include "WindowsText.h"

namespace ShellEntries {
namespace {

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

void removeAssociation(const std::string& installFolder)
{
    // DeskPanel's association: the class is named after its path without blanks.
    std::string className;
    for (char c : WindowsText::withBackslash(installFolder) + "DeskPanel.exe") {
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

// Only an administrator may change the firewall, as only one installed for all users and
// added the rule; for anyone else netsh fails and nothing changes.
void removeFirewallRule(const std::string& installFolder)
{
    std::string commandLine = std::string("netsh.exe advfirewall firewall delete rule name=\"") + FirewallRuleName +
                              "\" program=\"" + WindowsText::withBackslash(installFolder) + "DeskPanel.exe\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
        return;
    WaitForSingleObject(process.hProcess, 15000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace

void remove(const std::string& installFolder)
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (sameFolder(readString(root, UninstallKey, "InstallLocation"), installFolder))
            RegDeleteTreeA(root, UninstallKey);
    }
    // The shortcut's target is not read back: only this product puts one by this name.
    for (const char* startMenu : {"APPDATA", "ProgramData"}) {
        const std::string base = WindowsText::environmentFolder(startMenu);
        if (!base.empty())
            DeleteFileA((base + "\\Microsoft\\Windows\\Start Menu\\Programs\\" + ShortcutName).c_str());
    }
    const std::string appData = WindowsText::environmentFolder("APPDATA");
    for (const std::string& record : {appData.empty() ? std::string() : appData + "\\Veltara-RP8.ini",
                                      std::string("C:\\Windows\\Veltara-RP8.ini")}) {
        if (!record.empty() && sameFolder(recordFolder(record), installFolder))
            DeleteFileA(record.c_str());
    }
    removeAssociation(installFolder);
    removeFirewallRule(installFolder);
}

} // namespace ShellEntries
