#pragma once

#include <string>

#include "UserIntegration.h"

// Where the pieces of an uninstall live on Linux.
//
// The installation folder holds DeskPanel, the first stage UninstallVeltaraRP8 and
// ErasePanel side by side. DeskPanel starts the first stage without arguments; the first
// stage copies ErasePanel to a fixed place outside every installation folder and starts
// that copy with the installation folder as its one argument.
namespace UninstallLayout {

inline constexpr const char* FirstStageName = "UninstallVeltaraRP8";
inline constexpr const char* ErasePanelName = "ErasePanel";

// The fixed place of the running ErasePanel: "$XDG_CACHE_HOME/ErasePanel", by default
// "~/.cache/ErasePanel". Per user, so nobody else can put a program there.
std::string erasePanelCopyPath();

// Where a per-user installation put its desktop files, link and record, from
// $XDG_DATA_HOME, $XDG_CONFIG_HOME and the home folder.
UserIntegration::Places userPlaces();

// The folder that holds the running program's own file.
std::string ownProgramFolder();

} // namespace UninstallLayout
