#include "core/persistence/IniFile.h"
#include "core/persistence/PathText.h"
#include "core/persistence/ProfileLocations.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <vector>

// Where the Windows program keeps its profiles; decided the same way on every system.

using namespace deskpanel;
using namespace deskpanel::test;

TEST(ProfileLocations, OnWindowsFallBackToAppDataWhereTheUserMayNotWrite)
{
    const ProfileLocations::WindowsFolders folders{"C:\\Program Files\\Veltara\\RP-8", "C:\\Windows",
                                                   "C:\\Users\\op\\AppData\\Roaming"};
    const std::string programIni = "C:\\Program Files\\Veltara\\RP-8\\Veltara-RP8.ini";
    const std::string windowsIni = "C:\\Windows\\DeskPanel.INI";
    const std::string userIni = "C:\\Users\\op\\AppData\\Roaming\\DeskPanel\\Veltara-RP8.ini";
    const std::string userProfile = "C:\\Users\\op\\AppData\\Roaming\\DeskPanel\\DeskPanel.INI";
    struct Case {
        const char* what;
        std::vector<std::string> writable;
        std::vector<std::string> existing;
        std::string settings;
        std::string profile;
    };
    const std::vector<Case> cases = {
        {"both specified places writable", {programIni, windowsIni}, {}, programIni, windowsIni},
        {"neither writable", {}, {}, userIni, userProfile},
        {"only the program folder writable", {programIni}, {}, programIni, userProfile},
        {"once written per user, read from there first",
         {programIni, windowsIni},
         {userIni, userProfile},
         userIni,
         userProfile},
    };
    const auto in = [](const std::vector<std::string>& list) {
        return [list](const std::string& path) { return std::find(list.begin(), list.end(), path) != list.end(); };
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto at = ProfileLocations::forWindows("DeskPanel", folders, {in(c.existing), in(c.writable)});
        EXPECT_EQ(at.settingsFile, c.settings);
        EXPECT_EQ(at.windowProfile, c.profile);
        EXPECT_EQ(at.installationRecord, "C:\\Users\\op\\AppData\\Roaming\\Veltara-RP8.ini");
        EXPECT_EQ(at.systemInstallationRecord, "C:\\Windows\\Veltara-RP8.ini");
    }
    // Without %APPDATA% the specified places are all there is.
    const auto bare = ProfileLocations::forWindows("DeskPanel", {"D:\\RP8\\", "C:\\Windows", ""}, {in({}), in({})});
    EXPECT_EQ(bare.settingsFile, "D:\\RP8\\Veltara-RP8.ini");
    EXPECT_EQ(bare.installationRecord, "");
}

TEST(ProfileLocations, TheWritabilityProbeLeavesFilesAsTheyWere)
{
    TempFolder folder;
    const auto probe = ProfileLocations::fileSystemProbe();
    writeText(folder.file("Veltara-RP8.ini"), "[Data Directory]\nLast Used Directory=/x/\n");
    EXPECT_TRUE(probe.exists(folder.file("Veltara-RP8.ini")));
    EXPECT_TRUE(probe.writable(folder.file("Veltara-RP8.ini")));
    EXPECT_EQ(readText(folder.file("Veltara-RP8.ini")), "[Data Directory]\nLast Used Directory=/x/\n");
    // A missing file is not created by asking, and the probe's own file is gone again.
    EXPECT_TRUE(probe.writable(folder.file("DeskPanel.INI")));
    EXPECT_FALSE(probe.exists(folder.file("DeskPanel.INI")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1);
    EXPECT_FALSE(probe.writable(folder.file("no such folder/DeskPanel.INI")));
}

TEST(ProfileLocations, APerUserFolderWithANameOutsideAsciiIsMadeAndWritten)
{
    // %APPDATA% holds the user's name, which is often not ASCII ("C:\\Users\\José\\...").
    TempFolder folder;
    const std::string profile = folder.file("Jos\xC3\xA9/DeskPanel/DeskPanel.INI");
    ASSERT_TRUE(writeProfileString(profile, "Settings", "WindowPos", "0,1,0,0,0,0,0,0,800,600 1 0"));
    EXPECT_TRUE(std::filesystem::is_regular_file(utf8Path(profile)));
    EXPECT_EQ(readProfileString(profile, "Settings", "WindowPos"), "0,1,0,0,0,0,0,0,800,600 1 0");
}

TEST(ProfileLocations, APathThatCannotBeUsedIsNotWritableAndNeverThrows)
{
    TempFolder folder;
    const auto probe = ProfileLocations::fileSystemProbe();
    // Bytes that are no UTF-8 (an ANSI "é"), a name far beyond any limit, a file as folder.
    writeText(folder.file("file"), "x");
    for (const std::string& path : {folder.file("Jos\xE9/DeskPanel.INI"), folder.file(std::string(5000, 'a')),
                                    folder.file("file/DeskPanel.INI")}) {
        EXPECT_NO_THROW(EXPECT_FALSE(probe.writable(path)));
        EXPECT_NO_THROW(EXPECT_FALSE(probe.exists(path)));
    }
}

// The "Last Used Directory" is stored on Windows with "\" and ending in "\", whatever
// separators the file dialog gave.
TEST(ProfileLocations, AFolderIsWrittenTheWindowsWay)
{
    const std::pair<std::string, std::string> cases[] = {
        {"C:/Users/Jos\xC3\xA9/Documents/", "C:\\Users\\Jos\xC3\xA9\\Documents\\"},
        {"C:/Shows", "C:\\Shows\\"},
        {"D:\\Shows\\Z\xC3\xBCrich\\", "D:\\Shows\\Z\xC3\xBCrich\\"},
        {"\\\\server/shows", "\\\\server\\shows\\"},
        {"C:", "C:"},
        {"", ""},
    };
    for (const auto& [given, stored] : cases)
        EXPECT_EQ(windowsFolderText(given), stored) << given;
}
