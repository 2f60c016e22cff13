#include <gtest/gtest.h>

#include "InstalledFileList.h"
#include "PathRules.h"

namespace {

using PathRules::commandLineTail;

TEST(PathRules, TheCommandLineTailIsEverythingAfterTheProgramName)
{
    EXPECT_EQ(commandLineTail("\"C:\\ErasePanel.exe\" C:\\Program Files\\Veltara"), "C:\\Program Files\\Veltara");
    EXPECT_EQ(commandLineTail("C:\\ErasePanel.exe \t  C:\\Veltara  RP8 "), "C:\\Veltara  RP8 ");
    EXPECT_EQ(commandLineTail("\"C:\\Program Files\\ErasePanel.exe\"C:\\x"), "C:\\x");
    // Taken whole: quotes around the argument stay.
    EXPECT_EQ(commandLineTail("ErasePanel.exe \"C:\\a b\""), "\"C:\\a b\"");
    EXPECT_EQ(commandLineTail("ErasePanel.exe"), "");
    EXPECT_EQ(commandLineTail("\"C:\\a b\\ErasePanel.exe"), "");
    EXPECT_EQ(commandLineTail(""), "");
    EXPECT_EQ(commandLineTail(nullptr), "");
}

TEST(PathRules, WindowsAbsolutePaths)
{
    EXPECT_TRUE(PathRules::isWindowsAbsolute("C:\\Program Files\\Veltara"));
    EXPECT_TRUE(PathRules::isWindowsAbsolute("d:/veltara"));
    EXPECT_TRUE(PathRules::isWindowsAbsolute("\\\\server\\share\\veltara"));
    EXPECT_FALSE(PathRules::isWindowsAbsolute("Veltara"));
    EXPECT_FALSE(PathRules::isWindowsAbsolute("C:Veltara"));
    EXPECT_FALSE(PathRules::isWindowsAbsolute("\\Veltara"));
    EXPECT_FALSE(PathRules::isWindowsAbsolute("\\\\\\x"));
    EXPECT_FALSE(PathRules::isWindowsAbsolute(""));
}

TEST(PathRules, WindowsDriveAndShareRoots)
{
    for (const char* root : {"C:\\", "C:", "c:/", "\\\\server\\share", "\\\\server\\share\\", "\\\\server", "\\"}) {
        EXPECT_TRUE(PathRules::isWindowsDriveOrShareRoot(root)) << root;
    }
    for (const char* folder : {"C:\\Veltara", "\\\\server\\share\\Veltara", ""}) {
        EXPECT_FALSE(PathRules::isWindowsDriveOrShareRoot(folder)) << folder;
    }
}

TEST(PathRules, TrailingSeparatorsGoButRootsStay)
{
    EXPECT_EQ(PathRules::withoutTrailingSeparators("/opt/veltara//", '/'), "/opt/veltara");
    EXPECT_EQ(PathRules::withoutTrailingSeparators("///", '/'), "/");
    EXPECT_EQ(PathRules::withoutTrailingSeparators("C:\\Veltara\\/", '\\'), "C:\\Veltara");
    EXPECT_EQ(PathRules::withoutTrailingSeparators("C:\\\\", '\\'), "C:\\");
    EXPECT_EQ(PathRules::withoutTrailingSeparators("", '/'), "");
}

TEST(PathRules, SameOrInsideComparesWholeNames)
{
    PathStyle posix{'/', 4096, false};
    EXPECT_TRUE(PathRules::isSameOrInside("/home", "/home/op", posix));
    EXPECT_TRUE(PathRules::isSameOrInside("/home/op/", "/home/op", posix));
    EXPECT_TRUE(PathRules::isSameOrInside("/", "/home/op", posix));
    EXPECT_FALSE(PathRules::isSameOrInside("/home/op", "/home/operator", posix));
    EXPECT_FALSE(PathRules::isSameOrInside("/Home", "/home/op", posix));
    EXPECT_FALSE(PathRules::isSameOrInside("/home/op/x", "/home/op", posix));
    PathStyle windows{'\\', 260, true};
    EXPECT_TRUE(PathRules::isSameOrInside("C:\\USERS", "c:\\users\\op", windows));
}

} // namespace

namespace {

TEST(PathRules, SlashSOnlyFirstAndAloneMeansSilent)
{
    struct Case {
        std::string tail;
        bool silent;
        std::string rest;
    };
    const std::vector<Case> cases = {
        {"/S C:\\Program Files\\Veltara\\RP-8", true, "C:\\Program Files\\Veltara\\RP-8"},
        {"/S \t C:\\x ", true, "C:\\x "},
        {"/S \"C:\\Program Files\\RP-8\"", true, "C:\\Program Files\\RP-8"},
        {"/S \"", true, "\""},
        {"\"C:\\Program Files\\RP-8\"", false, "\"C:\\Program Files\\RP-8\""},
        {"/S", true, ""},
        {"/S ", true, ""},
        {"C:\\Program Files\\Veltara\\RP-8", false, "C:\\Program Files\\Veltara\\RP-8"},
        {"/SC:\\x", false, "/SC:\\x"},
        {"/s C:\\x", false, "/s C:\\x"},
        {"C:\\x /S", false, "C:\\x /S"},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        PathRules::RemovalArguments arguments = PathRules::removalArguments(c.tail);
        EXPECT_EQ(arguments.silent, c.silent) << c.tail;
        EXPECT_EQ(arguments.rest, c.rest) << c.tail;
    }
}

TEST(PathRules, PerMachineInstallationsAreUnderProgramFilesOrInTheMachineRecord)
{
    const std::vector<std::string> programFiles = {"C:\\Program Files", "C:\\Program Files (x86)\\"};
    struct Case {
        std::string folder;
        std::string record;
        bool perMachine;
    };
    const std::vector<Case> cases = {
        {"C:\\Program Files\\Veltara\\RP-8", "", true},
        {"c:\\program files (x86)\\Veltara\\RP-8\\", "", true},
        {"C:\\Program Files Extra\\RP-8", "", false},
        {"C:\\Users\\op\\AppData\\Local\\Programs\\Veltara\\RP-8", "", false},
        {"D:\\Audio\\RP-8", "d:\\audio\\rp-8\\", true},
        {"D:\\Audio\\RP-8", "D:\\Audio", false},
        {"", "", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathRules::isPerMachineInstallation(c.folder, programFiles, c.record), c.perMachine) << c.folder;
}

TEST(InstalledFileList, KeepsOnlyPathsBelowTheFolder)
{
    const std::string text = "DeskPanel.exe\r\n"
                             "platforms/qwindows.dll\n"
                             "\n"
                             "QUICKREFERENCE\\LINKED_CHANNEL_NAMES.HTM\n"
                             "..\\outside.txt\n"
                             "C:\\Windows\\win.ini\n"
                             "C:relative.txt\n"
                             "\\rooted.txt\n"
                             "/etc/passwd\n"
                             "a\\..\\..\\b\n"
                             "a\\.\\b\n"
                             "a\\\\b\n"
                             "folder\\\n"
                             "stream.txt:hidden\n"
                             "Tessaly User Guide.pdf";
    EXPECT_EQ(InstalledFileList::parse(text, '\\'),
              (std::vector<std::string>{"DeskPanel.exe", "platforms\\qwindows.dll",
                                        "QUICKREFERENCE\\LINKED_CHANNEL_NAMES.HTM", "Tessaly User Guide.pdf"}));
    EXPECT_EQ(InstalledFileList::parse("help\\guide.pdf\n", '/'), std::vector<std::string>{"help/guide.pdf"});
    EXPECT_EQ(InstalledFileList::parse(std::string("a\0b\n", 4), '/'), std::vector<std::string>{});
}

} // namespace
