#pragma once

#include <string>

// The system's package manager, as far as the first stage of the uninstall needs it: a
// folder that a package installed is removed by removing the package, never file by file.
class PackageManager {
public:
    virtual ~PackageManager() = default;

    // The package that installed `path`, or empty when none did.
    virtual std::string owner(const std::string& path) = 0;
    // Removes `package` after the desktop's authentication; true when it is gone.
    virtual bool remove(const std::string& package) = 0;
};

// dpkg and apt: `dpkg-query -S PATH` names the owner, `pkexec apt-get remove -y PACKAGE`
// removes it. Both are looked up on PATH; a missing program counts as "no owner" or
// "not removed".
class DpkgPackageManager : public PackageManager {
public:
    std::string owner(const std::string& path) override;
    bool remove(const std::string& package) override;

    // The package named by the output of `dpkg-query -S` ("deskpanel: /usr/lib/..."; the
    // first of several, without an architecture qualifier); empty when the output names
    // none or something that is not a package name.
    static std::string ownerFromQueryOutput(const std::string& output);
};

// What the operator can type to remove a package when the first stage could not.
std::string manualRemovalCommand(const std::string& package);
