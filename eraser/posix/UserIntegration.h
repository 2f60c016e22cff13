#pragma once

#include <string>
#include <vector>

// What an installation by hand puts outside its folder, so that the desktop knows the
// program: the menu entry, the project file type and the icons under the user's data
// folder, the command link in ~/.local/bin, and the installation record in the user's
// configuration folder. DeskPanel itself writes the menu entry and the file type again at
// every start. The first stage removes all of it before ErasePanel deletes the folder.
class UserIntegration {
public:
    struct Places {
        std::string dataHome; // $XDG_DATA_HOME, ~/.local/share
        std::string configHome; // $XDG_CONFIG_HOME, ~/.config
        std::string binFolder; // ~/.local/bin
    };

    UserIntegration(std::string installFolder, Places places);

    // Removes what belongs to this installation and returns the paths removed. The menu
    // entry, file type and icons are kept when the menu entry starts a program outside
    // the folder (another installation owns them); the link and the record are removed
    // only when they name this folder. The desktop's caches are brought up to date.
    std::vector<std::string> remove();

private:
    bool desktopEntryIsOurs() const;
    bool linkIsOurs(const std::string& link) const;
    bool recordIsOurs(const std::string& record) const;
    void removeFile(const std::string& path, std::vector<std::string>& removed) const;

    std::string m_folder;
    Places m_places;
};
