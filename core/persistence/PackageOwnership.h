#pragma once
#include <string>

namespace deskpanel {

// Whether a file was installed by the system's package manager as part of the program's
// package. Read from dpkg's file lists, which every user may read; no program is run.
struct PackageOwnership {
    static constexpr const char* PackageName = "deskpanel";
    static constexpr const char* DpkgInfoFolder = "/var/lib/dpkg/info";

    // True when `filePath` is listed among the package's files in `infoFolder`. The path
    // is compared as given and with its symbolic links resolved.
    static bool isPackaged(const std::string& filePath, const std::string& infoFolder = DpkgInfoFolder);
};

} // namespace deskpanel
