// Where the program finds its installation, and what it writes for the desktop when it
// was installed by the package manager or by hand.
#include "core/persistence/FileAssociation.h"
#include "core/persistence/InstallationRecord.h"
#include "core/persistence/PackageOwnership.h"
#include "core/persistence/ProfileLocations.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

// Writes a file, making its folders first.
void put(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    writeText(path, text);
}

std::string record(const std::string& folder)
{
    return "[File Location]\nMain Exe File=" + folder + "\n";
}

} // namespace

TEST(InstallationRecord, TheUsersRecordComesBeforeTheSystemsOne)
{
    TempFolder folder;
    ProfileLocations at;
    at.installationRecord = folder.file("user.ini");
    at.systemInstallationRecord = folder.file("etc.ini");
    EXPECT_EQ(readInstallationFolder(at), "");

    writeText(at.systemInstallationRecord, record("/usr/lib/deskpanel"));
    EXPECT_EQ(readInstallationFolder(at), "/usr/lib/deskpanel");

    // A user record without the key does not hide the system's.
    writeText(at.installationRecord, "[File Location]\nOther=1\n");
    EXPECT_EQ(readInstallationFolder(at), "/usr/lib/deskpanel");

    writeText(at.installationRecord, record("/home/op/.local/lib/deskpanel"));
    EXPECT_EQ(readInstallationFolder(at), "/home/op/.local/lib/deskpanel");

    // The system's record is the one the package writes.
    EXPECT_EQ(ProfileLocations::forThisUser("DeskPanel", "").systemInstallationRecord, "/etc/Veltara-RP8.ini");
}

TEST(PackageOwnership, OnlyFilesInThePackagesListCount)
{
    TempFolder folder;
    const std::string info = folder.file("info");
    const std::string program = folder.file("lib/deskpanel/DeskPanel");
    put(program, "program");
    std::filesystem::create_directory(folder.file("bin"));
    std::filesystem::create_symlink(program, folder.file("bin/DeskPanel"));

    EXPECT_FALSE(PackageOwnership::isPackaged(program, info)); // no list at all
    put(info + "/deskpanel.list", "/.\n/usr\n" + folder.file("lib/deskpanel") + "\n" + program + "\n");
    EXPECT_TRUE(PackageOwnership::isPackaged(program, info));
    // Reached through a link, the program is still the package's.
    EXPECT_TRUE(PackageOwnership::isPackaged(folder.file("bin/DeskPanel"), info));

    for (const std::string& other : {folder.file("lib/deskpanel/DeskPanel2"), folder.file("lib/deskpanel/Desk"),
                                     std::string("DeskPanel"), std::string()}) {
        EXPECT_FALSE(PackageOwnership::isPackaged(other, info)) << other;
    }
    // Another package's list does not count.
    put(info + "/deskpanel.list", "");
    put(info + "/other.list", program + "\n");
    EXPECT_FALSE(PackageOwnership::isPackaged(program, info));
}

TEST(FileAssociation, APackagedProgramLeavesTheDesktopToThePackage)
{
    TempFolder folder;
    const std::string data = folder.file("share");
    const std::string info = folder.file("info");
    const std::string program = folder.file("lib/deskpanel/DeskPanel");
    put(info + "/deskpanel.list", program + "\n");

    EXPECT_TRUE(FileAssociation::registerAssociation(data, program, "", info).complete);
    EXPECT_FALSE(std::filesystem::exists(data));

    // The same program copied elsewhere by hand writes its own, which names the icon.
    const std::string copy = folder.file("home/.local/lib/deskpanel/DeskPanel");
    EXPECT_TRUE(FileAssociation::registerAssociation(data, copy, "", info).complete);
    EXPECT_NE(readText(data + "/applications/deskpanel.desktop").find("\nIcon=deskpanel\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(data + "/mime/packages/deskpanel-vpf.xml"));
}
