#pragma once

#include <string>

// What the installer and DeskPanel put outside an installation folder on Windows: the
// entry in "Apps and features", the Start menu shortcut, the installation record, the
// ".vpf" association and the firewall rule for the program. Each is removed only when it
// names this installation; entries of another installation stay.
namespace ShellEntries {

inline constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DeskPanel";
inline constexpr const char* ShortcutName = "Veltara RP-8.lnk";
// The name the installer gives its inbound rule for DeskPanel.exe.
inline constexpr const char* FirewallRuleName = "Veltara RP-8";

void remove(const std::string& installFolder);

} // namespace ShellEntries
