#pragma once
#include <string>

namespace deskpanel {

// Where the program's own files live.
//
// On Windows: the settings file beside the executable, the window profile and the
// installer's record in the Windows folder. Here the per-user configuration folder
// ($XDG_CONFIG_HOME, else ~/.config) stands for the Windows folder and its "DeskPanel"
// subfolder for the program's folder, so the settings file and the installer's record,
// which share a name, stay apart. A per-user installation writes the installer's record
// there; the system-wide package writes it as /etc/Veltara-RP8.ini, read when the user
// has none.
struct ProfileLocations {
    static constexpr const char* SettingsFileName = "Veltara-RP8.ini";
    static constexpr const char* InstallationRecordName = "Veltara-RP8.ini";
    static constexpr const char* SystemInstallationRecord = "/etc/Veltara-RP8.ini";

    std::string settingsFile; // "Data Directory", "Recent File List"
    std::string windowProfile; // "Settings" / "WindowPos"
    std::string installationRecord; // "File Location" / "Main Exe File", read only
    std::string systemInstallationRecord; // the same, written by the package; empty on Windows
    std::string dataHome; // for the file association; empty on Windows

    // `executableName` without folder or extension, "DeskPanel"; `programFolder` is
    // the executable's folder (used on Windows only).
    static ProfileLocations forThisUser(const std::string& executableName, const std::string& programFolder);
};

// $XDG_CONFIG_HOME when set to an absolute path, else $HOME/.config; empty when neither
// can be found.
std::string xdgConfigHome();
// $XDG_DATA_HOME when set to an absolute path, else $HOME/.local/share.
std::string xdgDataHome();

// $XDG_STATE_HOME when set to an absolute path, else $HOME/.local/state.
std::string xdgStateHome();
// Where the program keeps what it records for the operator (the event log, backups of
// saved projects): "<state home>/DeskPanel"; empty when there is no home.
std::string programStateFolder();

} // namespace deskpanel
