#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>

#include "ErasePanel.h"
#include "FakePlatform.h"

namespace {

const std::string Removing = "Removing Veltara RP-8";
const std::string Removed = "Veltara RP-8 has been successfully removed";
const std::string OwnFile = "C:\\ErasePanel.exe";

class ErasePanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs.addFolder("C:\\Inst");
        fs.addFile("C:\\Inst\\DeskPanel.exe", true);
        fs.addFolder("C:\\Inst\\Help");
        fs.addFile("C:\\Inst\\Help\\Guide.pdf");
    }

    int run(const std::string& folder) { return ErasePanel(fs, OwnFile).run(folder); }

    std::ptrdiff_t position(const std::string& entry) const
    {
        auto it = std::find(fs.log.begin(), fs.log.end(), entry);
        return it == fs.log.end() ? -1 : it - fs.log.begin();
    }

    FakePlatform fs;
};

TEST_F(ErasePanelTest, ACompleteRemovalRunsInTheFixedOrder)
{
    EXPECT_EQ(run("C:\\Inst"), ErasePanel::Removed);

    EXPECT_FALSE(fs.exists("C:\\Inst"));
    EXPECT_EQ(fs.messages, (std::vector<std::string>{Removing, Removed}));
    EXPECT_EQ(fs.deleteAtRestartPaths, std::vector<std::string>{OwnFile});
    EXPECT_EQ(fs.log.front(), "message " + Removing);
    EXPECT_EQ(fs.log[1], "lookup none");
    EXPECT_LT(position("rmdir C:\\Inst"), position("schedule deletion " + OwnFile));
    EXPECT_EQ(fs.log.back(), "message " + Removed);
}

TEST_F(ErasePanelTest, NothingIsDeletedWhileTheFirstStageWindowIsOpen)
{
    fs.windowOpenForLookups = 3;

    EXPECT_EQ(run("C:\\Inst"), ErasePanel::Removed);

    std::vector<std::string> start(fs.log.begin(), fs.log.begin() + 9);
    EXPECT_EQ(start, (std::vector<std::string>{"message " + Removing, "lookup open", "pause", "lookup open", "pause",
                                               "lookup open", "pause", "lookup none", "try rmdir C:\\Inst"}));
    EXPECT_FALSE(fs.exists("C:\\Inst"));
}

TEST_F(ErasePanelTest, AWindowWithAnotherTitleIsNotWaitedFor)
{
    fs.windowTitle = "UninstallVeltaraRP8 - Setup";
    fs.windowOpenForLookups = 1000;

    EXPECT_EQ(run("C:\\Inst"), ErasePanel::Removed);
    EXPECT_EQ(position("pause"), -1);
}

TEST_F(ErasePanelTest, AFolderWithOnlyTheProgramIsRemovedAndReportedAsRemoved)
{
    fs.addFolder("C:\\Bare");
    fs.addFile("C:\\Bare\\DeskPanel.exe");

    EXPECT_EQ(run("C:\\Bare"), ErasePanel::Removed);
    EXPECT_FALSE(fs.exists("C:\\Bare"));
    EXPECT_EQ(fs.messages, (std::vector<std::string>{Removing, Removed}));
}

TEST_F(ErasePanelTest, ATrailingSeparatorIsAccepted)
{
    EXPECT_EQ(run("C:\\Inst\\"), ErasePanel::Removed);
    EXPECT_FALSE(fs.exists("C:\\Inst"));
}

TEST_F(ErasePanelTest, WhatIsLeftBehindIsReportedNotCalledASuccess)
{
    fs.addFolder("C:\\Inst\\Busy");
    fs.addFile("C:\\Inst\\Busy\\held.dll", false, true);

    EXPECT_EQ(run("C:\\Inst"), ErasePanel::LeftBehind);

    EXPECT_TRUE(fs.exists("C:\\Inst\\Busy\\held.dll"));
    EXPECT_FALSE(fs.exists("C:\\Inst\\Help"));
    ASSERT_EQ(fs.messages.size(), 2u);
    EXPECT_EQ(fs.messages[0], Removing);
    EXPECT_EQ(fs.messages[1], "Veltara RP-8 has not been removed completely. The folder \"C:\\Inst\" remains, "
                              "with the files that could not be deleted.");
    // The program's own copy goes whatever the removal achieved.
    EXPECT_EQ(fs.deleteAtRestartPaths, std::vector<std::string>{OwnFile});
}

TEST_F(ErasePanelTest, NothingDeletableIsNotReportedAsRemoved)
{
    fs.addFolder("C:\\Stuck");
    fs.addFile("C:\\Stuck\\DeskPanel.exe", false, true);
    fs.addFile("C:\\Stuck\\held.dll", false, true);
    fs.addFile("C:\\Stuck\\other.txt");

    EXPECT_EQ(run("C:\\Stuck"), ErasePanel::LeftBehind);
    EXPECT_TRUE(fs.deletions().empty());
    EXPECT_NE(fs.messages.back().find("The folder \"C:\\Stuck\" remains"), std::string::npos);
}

struct Refusal {
    std::string label;
    std::string folder;
    std::string message;
};

void PrintTo(const Refusal& refusal, std::ostream* out)
{
    *out << refusal.label;
}

class ErasePanelRefusalTest : public ErasePanelTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(ErasePanelRefusalTest, RefusesWithoutTouchingAnything)
{
    fs.addFile("C:\\notes.txt");
    fs.addFolder("C:\\Other");
    fs.addFile("C:\\Other\\data.txt");
    fs.addFolder("C:\\Other\\DeskPanel.exe"); // a folder by the program's name is not the program

    EXPECT_EQ(run(GetParam().folder), ErasePanel::Refused);

    EXPECT_EQ(fs.messages, std::vector<std::string>{GetParam().message});
    EXPECT_TRUE(fs.deletions().empty());
    EXPECT_TRUE(fs.deleteAtRestartPaths.empty());
    EXPECT_EQ(position("lookup none"), -1);
    EXPECT_TRUE(fs.exists("C:\\Inst\\Help\\Guide.pdf"));
    EXPECT_TRUE(fs.exists("C:\\Users\\operator"));
    EXPECT_TRUE(fs.exists("C:\\Other\\data.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    BadFolders, ErasePanelRefusalTest,
    ::testing::Values(Refusal{"Empty", "", "No installation folder was given. Nothing has been removed."},
                      Refusal{"Relative", "Inst",
                              "The installation folder \"Inst\" is not a full path. Nothing has been removed."},
                      Refusal{"DriveRelative", "C:Inst",
                              "The installation folder \"C:Inst\" is not a full path. Nothing has been removed."},
                      Refusal{"RootRelative", "\\Inst",
                              "The installation folder \"\\Inst\" is not a full path. Nothing has been removed."},
                      Refusal{"DriveRoot", "C:\\",
                              "\"C:\\\" is the top folder of a drive and is not removed. Nothing has been removed."},
                      Refusal{"Home", "C:\\Users\\operator",
                              "\"C:\\Users\\operator\" is your home folder and is not removed. "
                              "Nothing has been removed."},
                      Refusal{"HomeOtherSpelling", "C:\\USERS\\Operator\\",
                              "\"C:\\USERS\\Operator\\\" is your home folder and is not removed. "
                              "Nothing has been removed."},
                      Refusal{"HoldsHome", "C:\\Users",
                              "\"C:\\Users\" holds your home folder and is not removed. Nothing has been removed."},
                      Refusal{"Missing", "C:\\Nowhere",
                              "The installation folder \"C:\\Nowhere\" does not exist. Nothing has been removed."},
                      Refusal{"File", "C:\\notes.txt", "\"C:\\notes.txt\" is not a folder. Nothing has been removed."},
                      Refusal{"NoProgram", "C:\\Other",
                              "\"C:\\Other\" does not hold the DeskPanel program and is not removed. "
                              "Nothing has been removed."}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.label; });

TEST_F(ErasePanelTest, AFolderBesideTheHomeFolderWithASimilarNameIsNotRefused)
{
    fs.addFolder("C:\\Users\\operator2");
    fs.addFile("C:\\Users\\operator2\\DeskPanel.exe");
    EXPECT_EQ(run("C:\\Users\\operator2"), ErasePanel::Removed);
    EXPECT_TRUE(fs.exists("C:\\Users\\operator"));
}

} // namespace
