#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>

#include "ErasePanel.h"
#include "PosixMessageBox.h"
#include "PosixPlatform.h"
#include "TempFolder.h"
#include "X11WindowFinder.h"

namespace {

// Sets an environment variable for the length of a test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

std::string readAll(const std::string& path)
{
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

class PosixPlatformTest : public ::testing::Test {
protected:
    PosixPlatformTest() : messages(input, output), noDisplay(""), platform(messages, noDisplay) {}

    void buildInstallation()
    {
        TempFolder::writeFile(temp / "Veltara RP-8/DeskPanel", "program", true);
        TempFolder::writeFile(temp / "Veltara RP-8/Veltara-RP8.ini", "[Recent]\n");
        TempFolder::writeFile(temp / "Veltara RP-8/Help/Guide.pdf", "pdf", true);
        TempFolder::writeFile(temp / "Veltara RP-8/Help/Deep/Deeper/Link.chm", "chm", true);
        TempFolder::writeFile(temp / "Veltara RP-8/.hidden", "x");
        // Links are removed as links: what they point to stays.
        TempFolder::writeFile(temp / "Elsewhere/keep.txt", "keep");
        std::filesystem::create_directory_symlink(temp / "Elsewhere", temp / "Veltara RP-8/Help/ToElsewhere");
        std::filesystem::create_symlink(temp / "Elsewhere/keep.txt", temp / "Veltara RP-8/keep-link");
        std::filesystem::create_symlink(temp / "nothing-there", temp / "Veltara RP-8/dangling");
        // A listed folder swapped for a link is not followed.
        std::filesystem::create_directory_symlink(temp / "Elsewhere", temp / "Veltara RP-8/Linked");
        TempFolder::writeFile(temp / "Veltara RP-8/installed-files.txt",
                              "DeskPanel\nHelp/Guide.pdf\nHelp/Deep/Deeper/Link.chm\n.hidden\nHelp/ToElsewhere\n"
                              "keep-link\ndangling\nLinked/keep.txt\ninstalled-files.txt\n");
    }

    int runErasePanel(const std::string& folder) { return ErasePanel(platform, temp / "ErasePanel").run(folder); }

    TempFolder temp;
    std::istringstream input{"\n\n"};
    std::ostringstream output;
    PosixMessageBox messages;
    X11WindowFinder noDisplay;
    PosixPlatform platform;
};

TEST_F(PosixPlatformTest, RemovesAnInstallationWithReadOnlyFilesNestedFoldersAndLinks)
{
    buildInstallation();
    std::filesystem::remove(temp / "Veltara RP-8/Linked");
    std::filesystem::remove(temp / "Veltara RP-8/Veltara-RP8.ini");

    EXPECT_EQ(runErasePanel(temp / "Veltara RP-8"), ErasePanel::Removed);

    EXPECT_FALSE(TempFolder::exists(temp / "Veltara RP-8"));
    EXPECT_EQ(readAll(temp / "Elsewhere/keep.txt"), "keep");
    EXPECT_EQ(output.str(), "Remove Program: Removing Veltara RP-8\nPress Enter to continue.\n"
                            "Remove Program: Veltara RP-8 has been successfully removed\nPress Enter to continue.\n");
}

TEST_F(PosixPlatformTest, WhatTheListDoesNotNameStaysAndIsNamed)
{
    buildInstallation();
    TempFolder::writeFile(temp / "Veltara RP-8/Shows/Gala.vpf", "project");
    TempFolder::writeFile(temp / "Veltara RP-8/Shows/Gala.vpf.safes", "[Recall Safes]\n");

    EXPECT_EQ(runErasePanel(temp / "Veltara RP-8"), ErasePanel::LeftBehind);

    EXPECT_EQ(readAll(temp / "Veltara RP-8/Shows/Gala.vpf"), "project");
    EXPECT_TRUE(TempFolder::exists(temp / "Veltara RP-8/Shows/Gala.vpf.safes"));
    EXPECT_TRUE(TempFolder::exists(temp / "Veltara RP-8/Veltara-RP8.ini"));
    EXPECT_FALSE(TempFolder::exists(temp / "Veltara RP-8/DeskPanel"));
    EXPECT_FALSE(TempFolder::exists(temp / "Veltara RP-8/Help"));
    EXPECT_FALSE(TempFolder::exists(temp / "Veltara RP-8/installed-files.txt"));
    // The link is a link, never a way into the folder it points to.
    EXPECT_TRUE(std::filesystem::is_symlink(temp / "Veltara RP-8/Linked"));
    EXPECT_EQ(readAll(temp / "Elsewhere/keep.txt"), "keep");
    for (const char* named : {"Shows/Gala.vpf\n", "Shows/Gala.vpf.safes\n", "Veltara-RP8.ini\n", "Linked\n"})
        EXPECT_NE(output.str().find(named), std::string::npos) << named << " in " << output.str();
}

TEST_F(PosixPlatformTest, EnumerationReportsFoldersReadOnlyFilesAndItsEnd)
{
    TempFolder::writeFile(temp / "ro.txt", "", true);
    TempFolder::writeFile(temp / "rw.txt", "");
    std::filesystem::create_directories(temp / "sub");
    std::filesystem::create_directory_symlink(temp / "sub", temp / "link");

    std::map<std::string, DirectoryEntry> seen;
    {
        std::unique_ptr<DirectoryEnumeration> entries = platform.enumerate(temp.path());
        ASSERT_NE(entries, nullptr);
        DirectoryEntry entry;
        while (entries->next(entry))
            seen[entry.name] = entry;
        EXPECT_EQ(platform.lastError(), PlatformError::NoMoreFiles);
    }
    EXPECT_TRUE(seen.at("ro.txt").readOnly);
    EXPECT_FALSE(seen.at("rw.txt").readOnly);
    EXPECT_TRUE(seen.at("sub").isDirectory);
    EXPECT_FALSE(seen.at("link").isDirectory);

    EXPECT_TRUE(platform.setAttributesNormal(temp / "ro.txt"));
    struct stat info {};
    ASSERT_EQ(stat((temp / "ro.txt").c_str(), &info), 0);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u);
}

TEST_F(PosixPlatformTest, ErrorsAreToldApart)
{
    TempFolder::writeFile(temp / "full/file", "x");
    EXPECT_FALSE(platform.removeDirectory(temp / "full"));
    EXPECT_EQ(platform.lastError(), PlatformError::DirNotEmpty);
    EXPECT_FALSE(platform.removeDirectory(temp / "missing"));
    EXPECT_EQ(platform.lastError(), PlatformError::PathNotFound);
    EXPECT_EQ(platform.enumerate(temp / "missing"), nullptr);
    EXPECT_EQ(platform.enumerate(temp / "full/file"), nullptr);
    EXPECT_EQ(platform.lastError(), PlatformError::Other);
}

TEST_F(PosixPlatformTest, FilesystemRootsAndHomeAreKnown)
{
    EXPECT_TRUE(platform.isFilesystemRoot("/"));
    EXPECT_TRUE(platform.isFilesystemRoot("/proc")); // a mount point
    EXPECT_FALSE(platform.isFilesystemRoot(temp.path()));
    ScopedEnvironment home("HOME", temp / "home");
    EXPECT_EQ(platform.homeFolder(), temp / "home");
}

TEST_F(PosixPlatformTest, TheFileScheduledForRestartGoesWhenThePlatformDoes)
{
    TempFolder::writeFile(temp / "ErasePanel", "program");
    {
        PosixPlatform shortLived(messages, noDisplay);
        EXPECT_TRUE(shortLived.deleteAtRestart(temp / "ErasePanel"));
        EXPECT_TRUE(TempFolder::exists(temp / "ErasePanel"));
    }
    EXPECT_FALSE(TempFolder::exists(temp / "ErasePanel"));
}

TEST_F(PosixPlatformTest, RefusesDangerousFoldersAndDeletesNothing)
{
    buildInstallation();
    TempFolder::writeFile(temp / "home/me/notes.txt", "mine");
    ScopedEnvironment home("HOME", temp / "home/me");
    std::filesystem::create_directory_symlink(temp / "Veltara RP-8", temp / "link-to-install");
    TempFolder::writeFile(temp / "ErasePanel", "program");

    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "No installation folder was given."},
        {"Veltara RP-8", "is not a full path."},
        {"/", "is the top folder of a drive"},
        {"//", "is the top folder of a drive"},
        {temp / "Veltara RP-8/../../..", "is the top folder of a drive"},
        {temp / "home/me", "is your home folder"},
        {temp / "home/me/", "is your home folder"},
        {temp / "home/me/../me", "is your home folder"},
        {temp / "home", "holds your home folder"},
        {temp.path(), "holds your home folder"},
        {temp / "link-to-install", "is not a folder."},
        {temp / "Veltara RP-8/DeskPanel", "is not a folder."},
        {temp / "not-installed", "does not exist."},
        {temp / "Veltara RP-8/Help", "does not hold the DeskPanel program"},
    };
    for (const auto& [folder, reason] : cases) {
        output.str("");
        input.clear();
        input.str("\n");
        EXPECT_EQ(runErasePanel(folder), ErasePanel::Refused) << folder;
        EXPECT_NE(output.str().find(reason), std::string::npos) << folder << ": " << output.str();
        EXPECT_NE(output.str().find("Nothing has been removed."), std::string::npos) << folder;
        EXPECT_EQ(output.str().find("Removing"), std::string::npos) << folder;
    }
    EXPECT_TRUE(TempFolder::exists(temp / "home/me/notes.txt"));
    EXPECT_TRUE(TempFolder::exists(temp / "Veltara RP-8/Help/Deep/Deeper/Link.chm"));
    EXPECT_TRUE(TempFolder::exists(temp / "Veltara RP-8/DeskPanel"));
    EXPECT_TRUE(TempFolder::exists(temp / "link-to-install"));
}

TEST(PosixMessageBox, EachMessageWaitsForOneLineAndNeverForAClosedInput)
{
    std::istringstream input("first answer\nsecond answer\n");
    std::ostringstream output;
    PosixMessageBox messages(input, output);

    messages.show("Remove Program", "one");
    EXPECT_EQ(output.str(), "Remove Program: one\nPress Enter to continue.\n");
    std::string rest;
    std::getline(input, rest);
    EXPECT_EQ(rest, "second answer");

    messages.show("Remove Program", "two"); // at the end of the input: returns at once
    messages.show("Remove Program", "three");
    EXPECT_NE(output.str().find("three"), std::string::npos);
}

TEST(PosixMessageBox, WindowsNeedADisplayOrAChosenPlatformWithAScreen)
{
    std::optional<std::string> old;
    if (const char* value = std::getenv("QT_QPA_PLATFORM"))
        old = value;
    unsetenv("QT_QPA_PLATFORM");
    EXPECT_TRUE(PosixMessageBox::canShowWindows(true));
    EXPECT_FALSE(PosixMessageBox::canShowWindows(false));
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EXPECT_FALSE(PosixMessageBox::canShowWindows(true));
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    EXPECT_TRUE(PosixMessageBox::canShowWindows(false));
    if (old)
        setenv("QT_QPA_PLATFORM", old->c_str(), 1);
    else
        unsetenv("QT_QPA_PLATFORM");
}

} // namespace
