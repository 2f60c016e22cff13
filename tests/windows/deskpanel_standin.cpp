// Stands in for DeskPanel.exe in the uninstall chain's test under Wine, where the real
// program needs the Windows Qt: it holds the single-instance mutex, as DeskPanel does from
// start to end, for the number of seconds on its command line, and meanwhile keeps the
// file C:\standin-running.txt, so the test knows when it holds it. Started on anything else
// (a project, through the ".vpf" association), it writes its command line to
// C:\standin-command-line.txt, so the test sees what Windows started it with.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    if (commandLine[0] != '\0' && !std::isdigit(static_cast<unsigned char>(commandLine[0]))) {
        if (FILE* record = std::fopen("C:\\standin-command-line.txt", "wb")) {
            std::fputs(commandLine, record);
            std::fclose(record);
        }
        return 0;
    }
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "PreventSecondInstance");
    if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS)
        return 1;
    const char* running = "C:\\standin-running.txt";
    if (FILE* marker = std::fopen(running, "wb"))
        std::fclose(marker);
    Sleep(static_cast<DWORD>(std::atoi(commandLine)) * 1000);
    std::remove(running);
    CloseHandle(mutex);
    return 0;
}
