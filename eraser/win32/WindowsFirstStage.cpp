#include "WindowsFirstStage.h"

#include <windows.h>

#include <shellapi.h>

#include <utility>

#include "PathRules.h"
#include "RemovalTexts.h"
#include "WindowsText.h"

namespace {

// How long DeskPanel is given to end (it closes itself before it starts this stage)
// before the operator is asked to close it.
constexpr DWORD DeskPanelGrace = 10000;
constexpr DWORD MutexPollInterval = 200;

bool deskPanelRuns()
{
    // The name exists as long as any handle to it is open, so ours is closed at once.
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, WindowsFirstStage::DeskPanelMutex);
    if (mutex == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED; // held by a copy we may not open
    CloseHandle(mutex);
    return true;
}

bool isElevated()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    const bool elevated =
        GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) && elevation.TokenIsElevated;
    CloseHandle(token);
    return elevated;
}

std::string machineRecordFolder()
{
    char buffer[MAX_PATH];
    GetPrivateProfileStringA("File Location", "Main Exe File", "", buffer, MAX_PATH, "C:\\Windows\\Veltara-RP8.ini");
    return buffer;
}

} // namespace

WindowsFirstStage::WindowsFirstStage(std::string installFolder, std::string arguments)
    : m_installFolder(std::move(installFolder)),
      m_arguments(std::move(arguments)),
      m_silent(PathRules::removalArguments(m_arguments).silent)
{}

std::vector<std::string> WindowsFirstStage::copyTargets(const std::string& temporaryFolder)
{
    std::vector<std::string> targets{std::string("C:\\") + ErasePanelName};
    if (!temporaryFolder.empty())
        targets.push_back(WindowsText::withBackslash(temporaryFolder) + ErasePanelName);
    return targets;
}

WindowsFirstStage::Result WindowsFirstStage::run()
{
    if (m_installFolder.empty())
        return {Failed, "The installation folder of this program cannot be found."};
    if (isPerMachine() && !isElevated())
        return runElevated();
    if (!waitForDeskPanelToEnd())
        return {DeskPanelRunning, {}};
    std::string error = copyErasePanel();
    if (error.empty())
        error = startCopy();
    if (!error.empty())
        return {Failed, error};
    return {};
}

bool WindowsFirstStage::isPerMachine() const
{
    const std::vector<std::string> programFiles = {WindowsText::environmentFolder("ProgramFiles"),
                                                   WindowsText::environmentFolder("ProgramW6432"),
                                                   WindowsText::environmentFolder("ProgramFiles(x86)")};
    return PathRules::isPerMachineInstallation(m_installFolder, programFiles, machineRecordFolder());
}

WindowsFirstStage::Result WindowsFirstStage::runElevated()
{
    wchar_t own[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, own, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {Failed, "The uninstall program's own file cannot be found."};
    const std::wstring parameters = WindowsText::fromUtf8(m_arguments);
    SHELLEXECUTEINFOW execute{};
    execute.cbSize = sizeof execute;
    execute.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    execute.lpVerb = L"runas";
    execute.lpFile = own;
    execute.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    execute.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExW(&execute) || execute.hProcess == nullptr) {
        if (GetLastError() == ERROR_CANCELLED) {
            return {NotElevated, "Veltara RP-8 is installed for all users; removing it needs an administrator's "
                                 "permission, which was not given."};
        }
        return {NotElevated,
                "The uninstall could not be started with administrator rights: " + WindowsText::lastErrorText() + "."};
    }
    // The elevated copy does the work and says how it went; its exit code is ours.
    WaitForSingleObject(execute.hProcess, INFINITE);
    DWORD code = Failed;
    GetExitCodeProcess(execute.hProcess, &code);
    CloseHandle(execute.hProcess);
    return {static_cast<int>(code), {}};
}

bool WindowsFirstStage::waitForDeskPanelToEnd()
{
    for (;;) {
        for (DWORD waited = 0; deskPanelRuns(); waited += MutexPollInterval) {
            if (waited >= DeskPanelGrace)
                break;
            Sleep(MutexPollInterval);
        }
        if (!deskPanelRuns())
            return true;
        if (m_silent)
            return false;
        if (MessageBoxA(nullptr,
                        "DeskPanel is still running. Close it, then choose Retry to remove Veltara RP-8.\n\n"
                        "Choose Cancel to keep it installed.",
                        RemovalTexts::Caption, MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY)
            return false;
    }
}

std::string WindowsFirstStage::copyErasePanel()
{
    const std::string source = WindowsText::withBackslash(m_installFolder) + ErasePanelName;
    std::string reasons;
    for (const std::string& target : copyTargets(WindowsText::environmentFolder("TEMP"))) {
        if (CopyFileA(source.c_str(), target.c_str(), FALSE)) {
            m_copyPath = target;
            return {};
        }
        reasons += "\n" + target + ": " + WindowsText::lastErrorText();
    }
    return "The removal program \"" + source + "\" could not be copied:" + reasons;
}

std::string WindowsFirstStage::startCopy()
{
    // ErasePanel takes the whole rest of its command line as the folder, unquoted.
    std::string commandLine = "\"" + m_copyPath + "\" " + (m_silent ? "/S " : "") + m_installFolder;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(m_copyPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\", &startup,
                        &process))
        return "The removal program \"" + m_copyPath + "\" could not be started: " + WindowsText::lastErrorText();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return {};
}
