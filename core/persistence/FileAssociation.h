#pragma once
#include "core/persistence/PackageOwnership.h"

#include <string>
#include <vector>

namespace deskpanel {

// Makes project files (".vpf") open with this program. Registered afresh at every
// start-up; every failure is ignored, since the program works without it.
class FileAssociation {
public:
    static constexpr const char* MimeType = "application/x-veltara-project";
    static constexpr const char* MimeFileName = "deskpanel-vpf.xml";
    static constexpr const char* DesktopFileName = "deskpanel.desktop";
    static constexpr const char* IconName = "deskpanel"; // in the hicolor icon theme
    static constexpr const char* UserClassesKey = "Software\\Classes"; // under HKEY_CURRENT_USER

    // What a registration did: `complete` when everything is in place; `changed` when a
    // file was written anew, the only case in which the desktop's caches need refreshing.
    struct Outcome {
        bool complete = false;
        bool changed = false;
    };

    // Here: a shared-mime-info type for "*.vpf" under <dataHome>/mime/packages and a
    // desktop entry under <dataHome>/applications; a file that already holds its text is
    // left as it is. On Windows: the registry keys under HKEY_CURRENT_USER\\Software\\Classes,
    // the user's own part of HKEY_CLASSES_ROOT.
    // `commandLine` is the program's own command line (Windows only). A program that the
    // package manager installed writes nothing and is complete: the package's own desktop
    // entry and MIME type serve, and a per-user copy would hide them. `packageDatabase` is
    // dpkg's info folder.
    static Outcome registerAssociation(const std::string& dataHome, const std::string& executablePath,
                                       const std::string& commandLine,
                                       const std::string& packageDatabase = PackageOwnership::DpkgInfoFolder);

    // The programs that bring the desktop's caches up to date after a registration that
    // changed a file; the application runs them, nothing depends on their success.
    static std::vector<std::vector<std::string>> refreshCommands(const std::string& dataHome);

    static std::string mimePackageText();
    static std::string desktopEntryText(const std::string& executablePath);

    // The registry texts, from the executable's path and the program's command line:
    // the class name is the path without blanks; the program's text is the command line
    // cut before the character preceding its second ":", without double quotes; the open
    // command is that text, without trailing blanks, in quotes, then a blank and "%1" in
    // quotes; the icon is the program's text followed by ",0".
    static std::string className(const std::string& executablePath);
    static std::string openCommand(const std::string& commandLine);
    static std::string iconText(const std::string& commandLine);
};

} // namespace deskpanel
