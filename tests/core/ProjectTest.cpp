#include "core/model/Project.h"
#include "core/model/Text.h"

#include <gtest/gtest.h>

using namespace deskpanel;

TEST(Project, FreshProjectHasOnlyTheBlankSceneAndDefaults)
{
    Project project;
    EXPECT_EQ(project.scenes.count(), 1);
    EXPECT_EQ(project.scenes.displayText(0), "  000 Blank Scene");
    EXPECT_EQ(project.activeSceneName, "  000 Blank Scene");
    EXPECT_EQ(project.channels[383].name, "Channel 384");
    EXPECT_EQ(project.units[47].name, "UNIT 48");
    EXPECT_EQ(project.live[0].gainPosition, 72);
    EXPECT_EQ(project.windowTitle(), " Veltara RP-8 - New Project");
    EXPECT_FALSE(project.hasFile);
}

TEST(Project, ChannelAddressing)
{
    EXPECT_EQ(unitOfChannel(383), 48);
    EXPECT_EQ(inputOfChannel(383), 8);
    EXPECT_EQ(globalChannelNumber(383), 384);
    EXPECT_EQ(channelIndex(48, 8), 383);
    EXPECT_EQ(channelIndex(1, 1), 0);
    EXPECT_EQ(unitOfChannel(8), 2);
}

TEST(Project, NewProjectKeepsUnitAndGroupNotes)
{
    Project project;
    project.units[3].name = "Stage left";
    project.units[3].notes = "rack 2";
    project.linkGroups[1].title = "Drums";
    project.linkGroups[1].notes = "overheads";
    project.channels[5].notes = "kick";
    Scene scene;
    scene.name = "Act 1";
    project.scenes.append(scene);
    project.live[7].mute = 1;

    project.resetToNewProject("/home/op/shows/");

    EXPECT_EQ(project.units[3].name, "UNIT 4");
    EXPECT_EQ(project.units[3].notes, "rack 2");
    EXPECT_EQ(project.linkGroups[1].title, "");
    EXPECT_EQ(project.linkGroups[1].notes, "overheads");
    EXPECT_EQ(project.channels[5].notes, "");
    EXPECT_EQ(project.scenes.count(), 1);
    EXPECT_EQ(project.live[7].mute, 0);
    EXPECT_EQ(project.projectPath, "/home/op/shows/New Project.vpf");
}

TEST(Project, TitleChangesOnlyForNamesLongerThanThreeCharacters)
{
    Project project;
    project.setProjectName("abc");
    EXPECT_EQ(project.windowTitle(), " Veltara RP-8 - New Project");
    project.setProjectName("show.vpf");
    EXPECT_EQ(project.windowTitle(), " Veltara RP-8 - show.vpf");
    // Characters count, not bytes: three characters in four bytes are still three.
    project.setProjectName("\xC3\xA4"
                           "bc");
    EXPECT_EQ(project.windowTitle(), " Veltara RP-8 - show.vpf");
    project.setProjectName("\xC3\xA4"
                           "bcd");
    EXPECT_EQ(project.windowTitle(), " Veltara RP-8 - \xC3\xA4"
                                     "bcd");
}

TEST(Project, SnapshotSetsLinkActiveExactlyWhereLinkButtonIsOn)
{
    Project project;
    project.live[1].linkButton = 1;
    project.live[2].linkActive = 1; // engaged without the button: not kept
    const auto snapshot = project.snapshotSettings();
    EXPECT_EQ(snapshot[1].linkActive, 1);
    EXPECT_EQ(snapshot[2].linkActive, 0);
}

TEST(Project, SceneListShowsPositionsAndRefusesThe200thScene)
{
    SceneList list;
    Scene scene;
    scene.name = "Verse";
    for (int i = 1; i < MaxSceneEntries; ++i)
        ASSERT_TRUE(list.append(scene));
    EXPECT_FALSE(list.append(scene));
    EXPECT_EQ(list.count(), 200);
    EXPECT_EQ(list.displayText(7), "  007 Verse");
    EXPECT_EQ(list.displayText(199), "  199 Verse");
}

TEST(Text, CutKeepsWholeCharacters)
{
    EXPECT_EQ(cutToFieldChars(std::string(150, 'x')).size(), 99u);
    std::string umlauts;
    for (int i = 0; i < 120; ++i)
        umlauts += "\xC3\xA4"; // a with diaeresis, two bytes each
    const std::string cut = cutToFieldChars(umlauts);
    EXPECT_EQ(cut.size(), 198u);
    EXPECT_EQ(cutToFieldChars("short"), "short");
    EXPECT_EQ(linkGroupLabel(0), "-");
    EXPECT_EQ(linkGroupLabel(10), "10");
}
