#pragma once
#include <functional>
#include <string>

namespace deskpanel {

// Where the program's own files live.
//
// On Windows: the settings file beside the executable, the window profile and the
// installer's record in the Windows folder. A user without administrator rights may
// write neither folder; the settings file and the profile then live in
// %APPDATA%\DeskPanel, which is read first from then on, and a per-user installation
// writes its record as %APPDATA%\Veltara-RP8.ini. Here the per-user configuration folder
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
    std::string systemInstallationRecord; // the same, written by the package or an all-users installer
    std::string dataHome; // for the file association; empty on Windows
    // The channel preset library, shared by every project: "Channel Presets.ini" in the
    // user's data folder (<data home>/DeskPanel, %APPDATA%\DeskPanel); empty without one.
    std::string presetLibrary;
    // The executable's folder: Help > Uninstall removes the installation this copy belongs
    // to when its remover is there, whatever the record names.
    std::string programFolder;

    // `executableName` without folder or extension, "DeskPanel"; `programFolder` is
    // the executable's folder.
    static ProfileLocations forThisUser(const std::string& executableName, const std::string& programFolder);

    // What forThisUser decides on Windows, from the folders and from what the file system
    // answers about a path (asked through `probe`).
    struct WindowsFolders {
        std::string program; // the executable's folder
        std::string windows; // %SystemRoot%
        std::string appData; // %APPDATA%, empty when unknown
    };
    struct PlaceProbe {
        std::function<bool(const std::string& path)> exists;
        // Whether this process may write the file (or create it, when it is missing).
        std::function<bool(const std::string& path)> writable;
    };
    static ProfileLocations forWindows(const std::string& executableName, const WindowsFolders& folders,
                                       const PlaceProbe& probe);
    // The file system's own answers.
    static PlaceProbe fileSystemProbe();
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
