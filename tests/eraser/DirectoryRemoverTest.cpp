#include <gtest/gtest.h>

#include <algorithm>

#include "DirectoryRemover.h"
#include "FakePlatform.h"

namespace {

std::ptrdiff_t positionOf(const std::vector<std::string>& log, const std::string& entry)
{
    auto it = std::find(log.begin(), log.end(), entry);
    return it == log.end() ? -1 : it - log.begin();
}

TEST(DirectoryRemover, RemovesNestedFoldersAndReadOnlyFilesChildrenFirst)
{
    FakePlatform fs;
    fs.addFolder("C:\\Inst");
    fs.addFile("C:\\Inst\\DeskPanel.exe", true);
    fs.addFolder("C:\\Inst\\Help");
    fs.addFile("C:\\Inst\\Help\\Guide.pdf");
    fs.addFolder("C:\\Inst\\Help\\Deep");
    fs.addFile("C:\\Inst\\Help\\Deep\\Link.chm", true);
    fs.addFolder("C:\\Inst\\Empty");
    fs.addFile("C:\\Inst\\Veltara-RP8.ini");

    EXPECT_TRUE(DirectoryRemover(fs).remove("C:\\Inst"));

    EXPECT_FALSE(fs.exists("C:\\Inst"));
    EXPECT_TRUE(fs.exists("C:\\Users"));
    const std::vector<std::string>& log = fs.log;
    // Every folder goes after everything that was in it.
    EXPECT_LT(positionOf(log, "delete C:\\Inst\\Help\\Deep\\Link.chm"), positionOf(log, "rmdir C:\\Inst\\Help\\Deep"));
    EXPECT_LT(positionOf(log, "rmdir C:\\Inst\\Help\\Deep"), positionOf(log, "rmdir C:\\Inst\\Help"));
    EXPECT_LT(positionOf(log, "delete C:\\Inst\\Help\\Guide.pdf"), positionOf(log, "rmdir C:\\Inst\\Help"));
    EXPECT_EQ(log.back(), "rmdir C:\\Inst");
    // Read-only files are made writable first; the others are deleted as they are.
    EXPECT_EQ(positionOf(log, "attrib C:\\Inst\\DeskPanel.exe") + 1, positionOf(log, "delete C:\\Inst\\DeskPanel.exe"));
    EXPECT_GE(positionOf(log, "attrib C:\\Inst\\Help\\Deep\\Link.chm"), 0);
    EXPECT_EQ(positionOf(log, "attrib C:\\Inst\\Help\\Guide.pdf"), -1);
    EXPECT_EQ(positionOf(log, "attrib C:\\Inst\\Veltara-RP8.ini"), -1);
}

TEST(DirectoryRemover, AnEmptyFolderGoesAtTheFirstAttempt)
{
    FakePlatform fs;
    fs.addFolder("C:\\Inst");

    EXPECT_TRUE(DirectoryRemover(fs).remove("C:\\Inst"));

    EXPECT_EQ(fs.log, std::vector<std::string>{"rmdir C:\\Inst"});
}

TEST(DirectoryRemover, AMissingFolderFailsWithoutTouchingAnything)
{
    FakePlatform fs;
    EXPECT_FALSE(DirectoryRemover(fs).remove("C:\\Nowhere"));
    EXPECT_TRUE(fs.deletions().empty());
    EXPECT_EQ(positionOf(fs.log, "enumerate C:\\Nowhere"), -1);
}

TEST(DirectoryRemover, ALockedFileInASubfolderKeepsItsBranchButNotItsSiblings)
{
    FakePlatform fs;
    fs.addFolder("C:\\Inst");
    fs.addFile("C:\\Inst\\first.txt");
    fs.addFolder("C:\\Inst\\Alpha");
    fs.addFile("C:\\Inst\\Alpha\\a.bmp");
    fs.addFolder("C:\\Inst\\Busy");
    fs.addFile("C:\\Inst\\Busy\\before.dat");
    fs.addFile("C:\\Inst\\Busy\\held.dll", false, true);
    fs.addFile("C:\\Inst\\Busy\\after.dat");
    fs.addFolder("C:\\Inst\\Omega");
    fs.addFile("C:\\Inst\\Omega\\z.bmp", true);
    fs.addFile("C:\\Inst\\last.txt");

    EXPECT_FALSE(DirectoryRemover(fs).remove("C:\\Inst"));

    EXPECT_TRUE(fs.exists("C:\\Inst"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\Busy"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\Busy\\held.dll"));
    // The locked file ends its folder's enumeration: what comes after it stays.
    EXPECT_FALSE(fs.exists("C:\\Inst\\Busy\\before.dat"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\Busy\\after.dat"));
    // The siblings before and after the blocked folder are gone.
    for (const char* gone : {"C:\\Inst\\first.txt", "C:\\Inst\\Alpha", "C:\\Inst\\Omega", "C:\\Inst\\last.txt"}) {
        EXPECT_FALSE(fs.exists(gone)) << gone;
    }
}

TEST(DirectoryRemover, ALockedFileInTheTopFolderStopsTheRemovalThere)
{
    FakePlatform fs;
    fs.addFolder("C:\\Inst");
    fs.addFile("C:\\Inst\\a.txt");
    fs.addFile("C:\\Inst\\DeskPanel.exe", false, true);
    fs.addFile("C:\\Inst\\b.txt");
    fs.addFolder("C:\\Inst\\Help");
    fs.addFile("C:\\Inst\\Help\\Guide.pdf");

    EXPECT_FALSE(DirectoryRemover(fs).remove("C:\\Inst"));

    EXPECT_FALSE(fs.exists("C:\\Inst\\a.txt"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\DeskPanel.exe"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\b.txt"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\Help\\Guide.pdf"));
    EXPECT_EQ(fs.deletions(), std::vector<std::string>{"delete C:\\Inst\\a.txt"});
}

TEST(DirectoryRemover, PathsBeyondThePlatformLimitAreSkippedNotTruncated)
{
    FakePlatform fs;
    fs.maxPath = 32;
    fs.addFolder("C:\\Inst");
    fs.addFile("C:\\Inst\\short.txt");
    fs.addFile("C:\\Inst\\a-name-far-too-long-for-it.txt"); // 38 characters with the folder
    fs.addFolder("C:\\Inst\\Sub");
    fs.addFile("C:\\Inst\\Sub\\fits-at-limit19.txt"); // 31 characters: still fits
    fs.addFile("C:\\Inst\\Sub\\over-the-limit20.txt"); // 32 characters: no room for the zero

    EXPECT_FALSE(DirectoryRemover(fs).remove("C:\\Inst"));

    EXPECT_FALSE(fs.exists("C:\\Inst\\short.txt"));
    EXPECT_FALSE(fs.exists("C:\\Inst\\Sub\\fits-at-limit19.txt"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\a-name-far-too-long-for-it.txt"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\Sub\\over-the-limit20.txt"));
    for (const std::string& entry : fs.log) {
        std::string path = entry.substr(entry.find(' ') + 1);
        if (entry.rfind("try ", 0) == 0)
            path = path.substr(path.find(' ') + 1);
        EXPECT_LT(path.size(), fs.maxPath) << entry;
    }
}

TEST(DirectoryRemover, AnEnumerationErrorEndsThatFolderInsteadOfLooping)
{
    FakePlatform fs;
    fs.addFolder("C:\\Inst");
    fs.addFolder("C:\\Inst\\Broken");
    fs.addFile("C:\\Inst\\Broken\\one.txt");
    fs.addFile("C:\\Inst\\Broken\\two.txt");
    fs.addFile("C:\\Inst\\after.txt");
    fs.failEnumerationAfter("C:\\Inst\\Broken", 1);

    EXPECT_FALSE(DirectoryRemover(fs).remove("C:\\Inst"));

    EXPECT_FALSE(fs.exists("C:\\Inst\\Broken\\one.txt"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\Broken\\two.txt"));
    EXPECT_FALSE(fs.exists("C:\\Inst\\after.txt"));
    EXPECT_EQ(std::count(fs.log.begin(), fs.log.end(), "enumerate C:\\Inst\\Broken"), 1);
}

TEST(DirectoryRemover, AFolderEmptiedBeforeItsEnumerationFailedIsStillRemoved)
{
    FakePlatform fs;
    fs.addFolder("C:\\Inst");
    fs.addFolder("C:\\Inst\\Sub");
    fs.addFile("C:\\Inst\\Sub\\only.txt");
    fs.failEnumerationAfter("C:\\Inst\\Sub", 1);

    EXPECT_TRUE(DirectoryRemover(fs).remove("C:\\Inst"));
    EXPECT_FALSE(fs.exists("C:\\Inst"));
}

TEST(DirectoryRemover, AnEnumerationErrorInTheTopFolderLeavesIt)
{
    FakePlatform fs;
    fs.addFolder("C:\\Inst");
    fs.addFile("C:\\Inst\\a.txt");
    fs.addFile("C:\\Inst\\b.txt");
    fs.failEnumerationAfter("C:\\Inst", 0);

    EXPECT_FALSE(DirectoryRemover(fs).remove("C:\\Inst"));
    EXPECT_TRUE(fs.exists("C:\\Inst\\a.txt"));
    EXPECT_TRUE(fs.deletions().empty());
    // The failure ends the work on the folder; it is not tried again.
    EXPECT_EQ(fs.log.back(), "enumerate C:\\Inst");
}

} // namespace
