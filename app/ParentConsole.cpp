#include "app/ParentConsole.h"

#ifdef _WIN32
#include <windows.h>

#include <cstdio>
#endif

namespace deskpanel {

#ifdef _WIN32

namespace {

bool hasPlace(DWORD stream)
{
    const HANDLE handle = GetStdHandle(stream);
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

} // namespace

void useParentConsole()
{
    const bool outPlaced = hasPlace(STD_OUTPUT_HANDLE);
    const bool errorPlaced = hasPlace(STD_ERROR_HANDLE);
    if ((outPlaced && errorPlaced) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    if (!outPlaced)
        std::freopen("CONOUT$", "w", stdout);
    if (!errorPlaced)
        std::freopen("CONOUT$", "w", stderr);
}

#else

void useParentConsole()
{}

#endif

} // namespace deskpanel
