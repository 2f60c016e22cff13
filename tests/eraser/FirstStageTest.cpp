// The first stage's choice between the package manager and ErasePanel, and what it
// removes of a per-user installation besides the folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "FirstStage.h"
#include "PackageManager.h"
#include "TempFolder.h"
#include "UserIntegration.h"

namespace {

namespace fs = std::filesystem;

class FakePackages : public PackageManager {
public:
    std::string owner(const std::string& path) override
    {
        asked.push_back(path);
        auto found = owners.find(path);
        return found == owners.end() ? std::string() : found->second;
    }
    bool remove(const std::string& package) override
    {
        removed.push_back(package);
        return removable;
    }

    std::map<std::string, std::string> owners;
    bool removable = true;
    std::vector<std::string> asked;
    std::vector<std::string> removed;
};

class FirstStageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        install = temp / "usr/lib/deskpanel";
        TempFolder::writeFile(install + "/DeskPanel", "program");
        TempFolder::writeFile(install + "/ErasePanel", "#!/bin/sh\nexit 0\n");
        TempFolder::writeFile(install + "/UninstallVeltaraRP8", "first stage");
        places = {temp / "share", temp / "config", temp / "bin"};
    }

    FirstStage::Result run() { return FirstStage(install, temp / "cache/ErasePanel", packages, places).run(); }

    TempFolder temp;
    std::string install;
    UserIntegration::Places places;
    FakePackages packages;
};

TEST_F(FirstStageTest, APackagedFolderIsLeftToThePackageManager)
{
    packages.owners[install + "/UninstallVeltaraRP8"] = "deskpanel";
    FirstStage::Result result = run();

    EXPECT_EQ(packages.removed, std::vector<std::string>{"deskpanel"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.message, "Veltara RP-8 has been successfully removed");
    // Not a file of the package is touched here, and ErasePanel is not involved.
    EXPECT_TRUE(TempFolder::exists(install + "/DeskPanel"));
    EXPECT_FALSE(TempFolder::exists(temp / "cache/ErasePanel"));
}

TEST_F(FirstStageTest, WhenThePackageCannotBeRemovedTheOperatorGetsTheCommand)
{
    packages.owners[install + "/UninstallVeltaraRP8"] = "deskpanel";
    packages.removable = false;
    FirstStage::Result result = run();

    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.message.find("sudo apt-get remove deskpanel"), std::string::npos) << result.message;
    EXPECT_TRUE(TempFolder::exists(install + "/UninstallVeltaraRP8"));
    EXPECT_FALSE(TempFolder::exists(temp / "cache/ErasePanel"));
}

TEST_F(FirstStageTest, AFolderOfNoPackageGoesToErasePanelWithItsDesktopFiles)
{
    TempFolder::writeFile(places.dataHome + "/applications/deskpanel.desktop",
                          "Exec=\"" + install + "/DeskPanel\" %f\n");
    TempFolder::writeFile(places.configHome + "/Veltara-RP8.ini", "[File Location]\nMain Exe File=" + install + "\n");
    FirstStage::Result result = run();

    EXPECT_EQ(packages.removed.size(), 0u);
    EXPECT_EQ(result.exitCode, 0) << result.message;
    EXPECT_TRUE(result.message.empty());
    EXPECT_TRUE(TempFolder::exists(temp / "cache/ErasePanel"));
    EXPECT_FALSE(TempFolder::exists(places.dataHome + "/applications/deskpanel.desktop"));
    EXPECT_FALSE(TempFolder::exists(places.configHome + "/Veltara-RP8.ini"));
}

TEST_F(FirstStageTest, AFailedCopyGivesItsReason)
{
    fs::remove(install + "/ErasePanel");
    FirstStage::Result result = run();
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.message.find("could not be copied"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("No such file or directory"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("Nothing has been removed."), std::string::npos) << result.message;
}

TEST(DpkgPackageManager, ReadsTheOwnerFromTheQuerysOutput)
{
    const std::pair<const char*, const char*> cases[] = {
        {"deskpanel: /usr/lib/deskpanel/UninstallVeltaraRP8\n", "deskpanel"},
        {"deskpanel:amd64: /usr/lib/deskpanel\n", "deskpanel"},
        {"libqt6core6, deskpanel: /usr/lib\n", "libqt6core6"},
        {"diversion by other from: /usr/lib/x\ndiversion by other to: /usr/lib/x.real\ndeskpanel: /usr/lib/x\n",
         "deskpanel"},
        {"", ""},
        {"no colon here\n", ""},
        {"Evil; rm -rf: /usr/lib/x\n", ""},
        {"$(reboot): /usr/lib/x\n", ""},
    };
    for (const auto& [output, owner] : cases)
        EXPECT_EQ(DpkgPackageManager::ownerFromQueryOutput(output), owner) << output;
}

class UserIntegrationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        install = temp / "home/.local/lib/deskpanel";
        places = {temp / "home/.local/share", temp / "home/.config", temp / "home/.local/bin"};
        fs::create_directories(install);
        fs::create_directories(places.binFolder);
        for (const char* size : {"16x16", "32x32", "48x48", "128x128", "256x256"})
            TempFolder::writeFile(places.dataHome + "/icons/hicolor/" + size + "/apps/deskpanel.png", "png");
        TempFolder::writeFile(places.dataHome + "/mime/packages/deskpanel-vpf.xml", "<mime-info/>");
        // Things of other programs in the same folders.
        TempFolder::writeFile(places.dataHome + "/applications/other.desktop", "[Desktop Entry]\n");
        TempFolder::writeFile(places.dataHome + "/icons/hicolor/48x48/apps/other.png", "png");
        TempFolder::writeFile(places.configHome + "/DeskPanel.INI", "[Settings]\n");
        TempFolder::writeFile(places.configHome + "/DeskPanel/Veltara-RP8.ini", "[Recent File List]\n");
    }

    void desktopEntryStarting(const std::string& program)
    {
        TempFolder::writeFile(places.dataHome + "/applications/deskpanel.desktop",
                              "[Desktop Entry]\nExec=\"" + program + "\" %f\nIcon=deskpanel\n");
    }

    std::vector<std::string> remove() { return UserIntegration(install + "/", places).remove(); }

    TempFolder temp;
    std::string install;
    UserIntegration::Places places;
};

TEST_F(UserIntegrationTest, EverythingThatNamesTheFolderGoesAndNothingElse)
{
    desktopEntryStarting(install + "/DeskPanel");
    fs::create_symlink("../lib/deskpanel/DeskPanel", places.binFolder + "/DeskPanel");
    TempFolder::writeFile(places.configHome + "/Veltara-RP8.ini",
                          "[File Location]\r\nMain Exe File=" + install + "\r\n");

    EXPECT_EQ(remove().size(), 9u);
    EXPECT_FALSE(TempFolder::exists(places.dataHome + "/applications/deskpanel.desktop"));
    EXPECT_FALSE(TempFolder::exists(places.dataHome + "/mime/packages/deskpanel-vpf.xml"));
    EXPECT_FALSE(TempFolder::exists(places.dataHome + "/icons/hicolor/256x256/apps/deskpanel.png"));
    EXPECT_FALSE(TempFolder::exists(places.binFolder + "/DeskPanel"));
    EXPECT_FALSE(TempFolder::exists(places.configHome + "/Veltara-RP8.ini"));
    // The user's own settings and other programs' files stay.
    for (const std::string& kept :
         {places.dataHome + "/applications/other.desktop", places.dataHome + "/icons/hicolor/48x48/apps/other.png",
          places.configHome + "/DeskPanel.INI", places.configHome + "/DeskPanel/Veltara-RP8.ini"}) {
        EXPECT_TRUE(TempFolder::exists(kept)) << kept;
    }
}

TEST_F(UserIntegrationTest, WhatNamesAnotherInstallationStays)
{
    const std::string other = temp / "home/elsewhere/deskpanel";
    desktopEntryStarting(other + "/DeskPanel");
    fs::create_symlink(other + "/DeskPanel", places.binFolder + "/DeskPanel");
    TempFolder::writeFile(places.configHome + "/Veltara-RP8.ini", "[File Location]\nMain Exe File=" + other + "\n");
    // A folder whose name merely begins like ours is another folder.
    install = temp / "home/elsewhere/desk";

    EXPECT_EQ(remove(), std::vector<std::string>{});
    EXPECT_TRUE(TempFolder::exists(places.dataHome + "/applications/deskpanel.desktop"));
    EXPECT_TRUE(TempFolder::exists(places.dataHome + "/mime/packages/deskpanel-vpf.xml"));
    EXPECT_TRUE(TempFolder::exists(places.binFolder + "/DeskPanel"));
    EXPECT_TRUE(TempFolder::exists(places.configHome + "/Veltara-RP8.ini"));
}

TEST_F(UserIntegrationTest, WithoutAMenuEntryTheFileTypeAndIconsAreOurs)
{
    EXPECT_EQ(remove().size(), 6u);
    EXPECT_FALSE(TempFolder::exists(places.dataHome + "/mime/packages/deskpanel-vpf.xml"));
    EXPECT_TRUE(TempFolder::exists(places.dataHome + "/icons/hicolor/48x48/apps/other.png"));
}

} // namespace
