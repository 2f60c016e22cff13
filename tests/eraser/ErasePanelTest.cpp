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
        fs.addTextFile("C:\\Inst\\installed-files.txt", "DeskPanel.exe\r\nHelp\\Guide.pdf\r\ninstalled-files.txt\r\n");
    }

    int run(const std::string& folder, ErasePanel::Messages messages = ErasePanel::Messages::Shown)
    {
        return ErasePanel(fs, OwnFile, messages).run(folder);
    }

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
    // The entries outside the folder go after the program.
    EXPECT_LT(position("delete C:\\Inst\\DeskPanel.exe"), position("forget C:\\Inst"));
    EXPECT_EQ(fs.forgottenInstallations, std::vector<std::string>{"C:\\Inst"});
    EXPECT_EQ(fs.log.back(), "message " + Removed);
}

TEST_F(ErasePanelTest, NothingIsDeletedWhileTheFirstStageWindowIsOpen)
{
    fs.windowOpenForLookups = 3;

    EXPECT_EQ(run("C:\\Inst"), ErasePanel::Removed);

    std::vector<std::string> start(fs.log.begin(), fs.log.begin() + 9);
    EXPECT_EQ(start,
              (std::vector<std::string>{"message " + Removing, "lookup open", "pause", "lookup open", "pause",
                                        "lookup open", "pause", "lookup none", "try delete C:\\Inst\\DeskPanel.exe"}));
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
    fs.addTextFile("C:\\Bare\\installed-files.txt", "DeskPanel.exe\n");

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
    fs.addTextFile("C:\\Inst\\installed-files.txt", "Busy\\held.dll\nDeskPanel.exe\nHelp\\Guide.pdf\n");

    EXPECT_EQ(run("C:\\Inst"), ErasePanel::LeftBehind);

    EXPECT_TRUE(fs.exists("C:\\Inst\\Busy\\held.dll"));
    // The list stays for a later removal to finish with.
    EXPECT_TRUE(fs.exists("C:\\Inst\\installed-files.txt"));
    EXPECT_FALSE(fs.exists("C:\\Inst\\Help"));
    ASSERT_EQ(fs.messages.size(), 2u);
    EXPECT_EQ(fs.messages[0], Removing);
    EXPECT_EQ(fs.messages[1], "Veltara RP-8 has not been removed completely. The folder \"C:\\Inst\" remains.\n\n"
                              "These files of the program could not be deleted:\n    Busy\\held.dll");
    // The program's own copy goes whatever the removal achieved.
    EXPECT_EQ(fs.deleteAtRestartPaths, std::vector<std::string>{OwnFile});
}

TEST_F(ErasePanelTest, NothingDeletableIsNotReportedAsRemoved)
{
    fs.addFolder("C:\\Stuck");
    fs.addFile("C:\\Stuck\\DeskPanel.exe", false, true);
    fs.addFile("C:\\Stuck\\held.dll", false, true);
    fs.addFile("C:\\Stuck\\other.txt");
    fs.addTextFile("C:\\Stuck\\installed-files.txt", "DeskPanel.exe\nheld.dll\n");

    EXPECT_EQ(run("C:\\Stuck"), ErasePanel::LeftBehind);
    EXPECT_TRUE(fs.deletions().empty());
    EXPECT_NE(fs.messages.back().find("The folder \"C:\\Stuck\" remains"), std::string::npos);
    EXPECT_NE(fs.messages.back().find("left as they were:\n    other.txt"), std::string::npos) << fs.messages.back();
    // While the program is there, so are its Start menu entry and "Apps and features".
    EXPECT_TRUE(fs.forgottenInstallations.empty());
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
    fs.addFolder("C:\\Unlisted");
    fs.addFile("C:\\Unlisted\\DeskPanel.exe");
    fs.addFile("C:\\Unlisted\\Show.vpf");

    EXPECT_EQ(run(GetParam().folder), ErasePanel::Refused);
    EXPECT_EQ(run(GetParam().folder, ErasePanel::Messages::Silent), ErasePanel::Refused);

    EXPECT_EQ(fs.messages, std::vector<std::string>{GetParam().message});
    EXPECT_TRUE(fs.deletions().empty());
    EXPECT_TRUE(fs.deleteAtRestartPaths.empty());
    EXPECT_EQ(position("lookup none"), -1);
    EXPECT_TRUE(fs.exists("C:\\Inst\\Help\\Guide.pdf"));
    EXPECT_TRUE(fs.exists("C:\\Users\\operator"));
    EXPECT_TRUE(fs.exists("C:\\Other\\data.txt"));
    EXPECT_TRUE(fs.exists("C:\\Unlisted\\Show.vpf"));
    EXPECT_TRUE(fs.forgottenInstallations.empty());
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
                              "Nothing has been removed."},
                      Refusal{"NoList", "C:\\Unlisted",
                              "\"C:\\Unlisted\" holds no list of the installed files (\"installed-files.txt\") and "
                              "is not removed. Nothing has been removed."}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.label; });

TEST_F(ErasePanelTest, AFolderBesideTheHomeFolderWithASimilarNameIsNotRefused)
{
    fs.addFolder("C:\\Users\\operator2");
    fs.addFile("C:\\Users\\operator2\\DeskPanel.exe");
    fs.addTextFile("C:\\Users\\operator2\\installed-files.txt", "DeskPanel.exe\n");
    EXPECT_EQ(run("C:\\Users\\operator2"), ErasePanel::Removed);
    EXPECT_TRUE(fs.exists("C:\\Users\\operator"));
}

TEST_F(ErasePanelTest, TheSilentFormShowsNothingAndSaysItAllInTheExitCode)
{
    fs.addFile("C:\\Inst\\Gala.vpf");

    EXPECT_EQ(run("C:\\Inst", ErasePanel::Messages::Silent), ErasePanel::LeftBehind);

    EXPECT_TRUE(fs.messages.empty());
    EXPECT_TRUE(fs.exists("C:\\Inst\\Gala.vpf"));
    EXPECT_FALSE(fs.exists("C:\\Inst\\DeskPanel.exe"));
    EXPECT_EQ(fs.deleteAtRestartPaths, std::vector<std::string>{OwnFile});
}

// What the list names goes; everything else stays and is named.
struct Listing {
    std::string label;
    // Full paths, their folders made as needed; a leading "!" makes the file locked, a
    // trailing "\\" makes it a folder.
    std::vector<std::string> extraFiles;
    std::string list;
    int exitCode;
    std::vector<std::string> remaining; // full paths that must still be there
    std::vector<std::string> gone; // full paths that must not
    std::string named; // the text that names what stayed; empty: the success message
};

void PrintTo(const Listing& listing, std::ostream* out)
{
    *out << listing.label;
}

class ListedRemovalTest : public ErasePanelTest, public ::testing::WithParamInterface<Listing> {};

TEST_P(ListedRemovalTest, DeletesWhatTheListNamesAndNamesTheRest)
{
    const Listing& c = GetParam();
    fs.addFile("C:\\notes.txt");
    for (const std::string& file : c.extraFiles) {
        bool locked = file[0] == '!';
        std::string path = locked ? file.substr(1) : file;
        if (path.back() == '\\') {
            fs.addFolder(path.substr(0, path.size() - 1));
            continue;
        }
        std::string parent = path.substr(0, path.rfind('\\'));
        if (!fs.exists(parent))
            fs.addFolder(parent);
        fs.addFile(path, false, locked);
    }
    fs.addTextFile("C:\\Inst\\installed-files.txt", c.list);

    EXPECT_EQ(run("C:\\Inst"), c.exitCode);

    for (const std::string& path : c.remaining)
        EXPECT_TRUE(fs.exists(path)) << path;
    for (const std::string& path : c.gone)
        EXPECT_FALSE(fs.exists(path)) << path;
    ASSERT_EQ(fs.messages.size(), 2u);
    if (c.named.empty())
        EXPECT_EQ(fs.messages[1], Removed);
    else
        EXPECT_NE(fs.messages[1].find(c.named), std::string::npos) << fs.messages[1];
}

const std::string Listed = "DeskPanel.exe\nHelp\\Guide.pdf\ninstalled-files.txt\n";
const std::string Kept = "These files were not installed with the program and have been left as they were:";

INSTANTIATE_TEST_SUITE_P(
    Lists, ListedRemovalTest,
    ::testing::Values(
        Listing{"ShowFilesStay",
                {"C:\\Inst\\Shows\\Gala.vpf", "C:\\Inst\\Shows\\Gala.vpf.safes"},
                Listed,
                ErasePanel::LeftBehind,
                {"C:\\Inst\\Shows\\Gala.vpf", "C:\\Inst\\Shows\\Gala.vpf.safes"},
                {"C:\\Inst\\DeskPanel.exe", "C:\\Inst\\Help", "C:\\Inst\\installed-files.txt"},
                "Veltara RP-8 has been removed. The folder \"C:\\Inst\" remains.\n\n" + Kept +
                    "\n    Shows\\Gala.vpf\n    Shows\\Gala.vpf.safes"},
        Listing{"AnUnlistedFileKeepsItsFolder",
                {"C:\\Inst\\Help\\my notes.txt"},
                Listed,
                ErasePanel::LeftBehind,
                {"C:\\Inst\\Help\\my notes.txt"},
                {"C:\\Inst\\Help\\Guide.pdf"},
                Kept + "\n    Help\\my notes.txt"},
        Listing{"PathsLeadingOutsideAreNotFollowed",
                {},
                "..\\notes.txt\nC:\\notes.txt\n\\notes.txt\nHelp\\..\\..\\notes.txt\nC:notes.txt\nShows\\\n" + Listed,
                ErasePanel::Removed,
                {"C:\\notes.txt"},
                {"C:\\Inst"},
                ""},
        Listing{"SlashesBlankLinesAndAMissingFile",
                {},
                "DeskPanel.exe\r\n\r\nHelp/Guide.pdf\r\nGone.dll\r\n",
                ErasePanel::Removed,
                {},
                {"C:\\Inst"},
                ""},
        Listing{"ListedFolderNamesAreNotDeletedWhole",
                {"C:\\Inst\\Shows\\Gala.vpf"},
                "Shows\n" + Listed,
                ErasePanel::LeftBehind,
                {"C:\\Inst\\Shows\\Gala.vpf"},
                {},
                Kept + "\n    Shows\\Gala.vpf"},
        Listing{"ALockedFileIsNamedApartFromTheOperatorsFiles",
                {"!C:\\Inst\\Shows\\engine.dll", "C:\\Inst\\Shows\\Gala.vpf"},
                "Shows\\engine.dll\n" + Listed,
                ErasePanel::LeftBehind,
                {"C:\\Inst\\Shows\\engine.dll", "C:\\Inst\\installed-files.txt"},
                {"C:\\Inst\\DeskPanel.exe"},
                "could not be deleted:\n    Shows\\engine.dll\n\n" + Kept + "\n    Shows\\Gala.vpf"},
        Listing{"AnEmptyFolderLeftIsNamed",
                {"C:\\Inst\\Shows\\"},
                Listed,
                ErasePanel::LeftBehind,
                {"C:\\Inst\\Shows"},
                {},
                Kept + "\n    Shows\\"}),
    [](const ::testing::TestParamInfo<Listing>& info) { return info.param.label; });

TEST_F(ErasePanelTest, ManyFilesLeftAreCounted)
{
    for (int i = 0; i < 20; ++i)
        fs.addFile("C:\\Inst\\Show" + std::to_string(i) + ".vpf");

    EXPECT_EQ(run("C:\\Inst"), ErasePanel::LeftBehind);

    EXPECT_NE(fs.messages.back().find("\n    Show14.vpf\n    and 5 more"), std::string::npos) << fs.messages.back();
    EXPECT_EQ(fs.messages.back().find("Show15.vpf"), std::string::npos);
}

} // namespace
