// Stands in for DeskPanel.exe in the uninstall chain's test under Wine, where the real
// program needs the Windows Qt: it holds the single-instance mutex, as DeskPanel does from
// start to end, for the number of seconds on its command line.
#include <windows.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "PreventSecondInstance");
    if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS)
        return 1;
    Sleep(static_cast<DWORD>(std::atoi(commandLine)) * 1000);
    CloseHandle(mutex);
    return 0;
}
