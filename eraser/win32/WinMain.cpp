// ErasePanel on Windows: a windowless program, started by the first stage of the
// uninstall as "C:\ErasePanel.exe" with the installation folder on its command line (or
// from the user's temporary folder when the user may not write C:\). "/S <folder>" is the
// silent form: no message, the exit code alone tells how it went.
#include <windows.h>

#include "ErasePanel.h"
#include "PathRules.h"
#include "Win32Platform.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Worked out here rather than taken from the start-up code, so that the rule (the
    // whole tail of the command line, not split, not unquoted) holds for every compiler.
    const PathRules::RemovalArguments arguments =
        PathRules::removalArguments(PathRules::commandLineTail(GetCommandLineA()));
    Win32Platform platform;
    // The file to go at the next restart is this program's own, wherever the copy lies.
    char own[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, own, MAX_PATH);
    const std::string ownPath = length > 0 && length < MAX_PATH ? std::string(own, length) : "C:\\ErasePanel.exe";
    const ErasePanel::Messages shown = arguments.silent ? ErasePanel::Messages::Silent : ErasePanel::Messages::Shown;
    return ErasePanel(platform, ownPath, shown).run(arguments.rest);
}
