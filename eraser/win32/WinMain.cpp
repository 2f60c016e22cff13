// ErasePanel on Windows: a windowless program, started by the first stage of the
// uninstall as "C:\ErasePanel.exe" with the installation folder on its command line.
#include <windows.h>

#include "ErasePanel.h"
#include "PathRules.h"
#include "Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Worked out here rather than taken from the start-up code, so that the rule (the
    // whole tail of the command line, not split, not unquoted) holds for every compiler.
    std::string folder = PathRules::commandLineTail(GetCommandLineA());
    Win32Platform platform;
    return ErasePanel(platform, "C:\\ErasePanel.exe").run(folder);
}
