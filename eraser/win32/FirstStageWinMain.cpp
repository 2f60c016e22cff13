// UninstallVeltaraRP8 on Windows: started by DeskPanel (or from "Apps and features")
// without arguments, from the installation folder that is to be removed. "/S" is the
// silent form: no message here or from ErasePanel, the exit code alone tells how it went.
#include <windows.h>

#include <string>

#include "PathRules.h"
#include "RemovalTexts.h"
#include "WindowsFirstStage.h"
#include "WindowsText.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // ErasePanel waits while a window with this title exists: it tells that this program
    // still runs from inside the folder to be deleted. It need not be shown to count.
    HWND window = CreateWindowExA(0, "STATIC", RemovalTexts::FirstStageWindowTitle, WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    char own[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    std::string folder = length > 0 && length < MAX_PATH ? std::string(own, length) : std::string();
    const auto slash = folder.find_last_of('\\');
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);

    const std::string arguments = PathRules::commandLineTail(WindowsText::toUtf8(GetCommandLineW()).c_str());
    const WindowsFirstStage::Result result = WindowsFirstStage(folder, arguments).run();
    if (window)
        DestroyWindow(window);
    if (!result.message.empty() && !PathRules::removalArguments(arguments).silent) {
        MessageBoxA(nullptr, (result.message + "\n\nNothing has been removed.").c_str(), RemovalTexts::Caption,
                    MB_OK | MB_ICONERROR);
    }
    return result.exitCode;
}
