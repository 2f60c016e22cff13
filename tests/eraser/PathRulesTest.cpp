#include <gtest/gtest.h>

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
