#pragma once

// The texts that ErasePanel shows. All its messages carry the same caption.
namespace RemovalTexts {

inline constexpr const char* Caption = "Remove Program";
inline constexpr const char* Removing = "Removing Veltara RP-8";
inline constexpr const char* Removed = "Veltara RP-8 has been successfully removed";
// The first stage of the uninstall holds a window with this title until it has released
// its own program file, which lies inside the folder to be removed.
inline constexpr const char* FirstStageWindowTitle = "UninstallVeltaraRP8";

} // namespace RemovalTexts
