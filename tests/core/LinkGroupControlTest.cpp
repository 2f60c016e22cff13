#include "tests/core/ChannelControlFixture.h"

namespace deskpanel::test {
namespace {

class LinkGroups : public ChannelControlTest {
protected:
    LinkGroups() { units.present = {1}; }

    LinkGroupControl& groups() { return control.linkGroups(); }

    void choose(int channel, int choice)
    {
        dialogs.choices = {choice};
        control.switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), channel, 0);
    }

    int flagsInRow(int channel) const
    {
        int flags = 0;
        for (int g = 1; g <= MaxLinkGroups; ++g)
            flags += control.linkGroups().membership().isMember(channel, g) ? 1 : 0;
        return flags;
    }
};

TEST_F(LinkGroups, JoinSetsTheGroupReferenceAndLink)
{
    live(2).gainPosition = 33;
    live(2).linkActive = 1;
    groups().joinLinkGroup(2, 7);
    EXPECT_EQ(live(2).linkGroup, 7);
    EXPECT_EQ(linkGroupLabel(live(2).linkGroup), "7");
    EXPECT_EQ(live(2).linkButton, 1);
    EXPECT_EQ(live(2).gainAux, 33);
    EXPECT_TRUE(control.isLinkIndicatorLit(2));
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Link", 1, 1, 3}, {"Mute", 0, 1, 3}}));
    EXPECT_EQ(control.undoHistory().entries()[0], (UndoEntry{2, 4, 1}));
    EXPECT_EQ(control.undoHistory().entries()[1], (UndoEntry{2, 7, 0}));
    EXPECT_TRUE(listener.saw(2, ChannelAspect::LinkGroup));

    clearRecords();
    live(2).gainPosition = 40;
    groups().leaveLinkGroup(2);
    EXPECT_EQ(live(2).linkGroup, 0);
    EXPECT_EQ(live(2).linkButton, 0);
    EXPECT_EQ(live(2).linkActive, 1); // leaving does not touch it
    EXPECT_EQ(live(2).gainAux, 40);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Link", 0, 1, 3}}));
    EXPECT_EQ(flagsInRow(2), 0);
    EXPECT_EQ(control.undoHistory().entries()[0], (UndoEntry{2, 4, 0}));
}

TEST_F(LinkGroups, JoinOutOfRangeIsIgnored)
{
    groups().joinLinkGroup(0, 0);
    groups().joinLinkGroup(0, 11);
    groups().joinLinkGroup(-1, 3);
    groups().joinLinkGroup(MaxChannels, 3);
    groups().leaveLinkGroup(MaxChannels);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(control.undoHistory().undoableCount(), 0);
    EXPECT_EQ(project.live, ChannelSettingsArray{});
}

TEST_F(LinkGroups, ChoosingTheCheckedGroupTakesTheInputOut)
{
    choose(0, 3);
    ASSERT_EQ(live(0).linkGroup, 3);
    ASSERT_EQ(live(0).linkButton, 1);
    clearRecords();

    choose(0, 3);
    EXPECT_EQ(dialogs.popups.back(), std::make_pair(0, 3)); // the pop-up checked group 3
    EXPECT_EQ(live(0).linkGroup, 0);
    EXPECT_EQ(linkGroupLabel(live(0).linkGroup), "-");
    EXPECT_EQ(live(0).linkButton, 0);
    EXPECT_EQ(units.sent.back(), (Sent{"Link", 0, 1, 1}));
    EXPECT_EQ(flagsInRow(0), 0);
    EXPECT_EQ(scenes.marked, 1);
    EXPECT_EQ(scenes.updated, 1);
}

TEST_F(LinkGroups, ChoosingAnotherGroupMovesTheInput)
{
    choose(0, 2);
    choose(1, 2);
    clearRecords();
    choose(0, 5);
    EXPECT_EQ(live(0).linkGroup, 5);
    EXPECT_EQ(linkGroupLabel(live(0).linkGroup), "5");
    EXPECT_EQ(flagsInRow(0), 1);
    EXPECT_TRUE(groups().membership().isMember(0, 5));
    EXPECT_TRUE(groups().membership().isMember(1, 2));
    EXPECT_EQ(live(0).linkButton, 1);
    expectUnitsLinkMatchesSwitches();

    choose(1, ChannelStripDialogs::ChoseNone);
    EXPECT_EQ(live(1).linkGroup, 0);
    EXPECT_FALSE(groups().isInAnyGroup(1));
}

TEST_F(LinkGroups, TheHeadingOrNoChoiceChangesNothing)
{
    choose(0, 2);
    const auto before = project.live;
    clearRecords();
    choose(0, ChannelStripDialogs::NothingChosen);
    choose(0, 42);
    EXPECT_EQ(project.live, before);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(scenes.marked, 2);
}

TEST_F(LinkGroups, MatrixClickTogglesAndMovesBetweenGroups)
{
    groups().matrixCellPressed(2, 5);
    groups().matrixReleased();
    EXPECT_TRUE(groups().matrixShowsDot(2, 5));

    groups().matrixCellPressed(7, 5);
    groups().matrixReleased();
    EXPECT_EQ(live(5).linkGroup, 7);
    EXPECT_EQ(flagsInRow(5), 1);
    EXPECT_TRUE(groups().matrixShowsDot(7, 5));
    EXPECT_FALSE(groups().matrixShowsDot(2, 5));

    clearRecords();
    groups().matrixCellPressed(7, 5);
    groups().matrixReleased();
    EXPECT_EQ(live(5).linkGroup, 0);
    EXPECT_EQ(live(5).linkButton, 0);
    EXPECT_EQ(live(5).linkActive, 0);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Link", 0, 1, 6}}));
}

TEST_F(LinkGroups, MatrixDragTogglesEachCellOnceUntilThePointerLeavesIt)
{
    groups().matrixCellPressed(1, 0);
    groups().matrixPointerEntered(1, 0); // still the same cell
    groups().matrixPointerEntered(1, 1);
    groups().matrixPointerEntered(1, 2);
    groups().matrixPointerEntered(1, 1); // entered again after another cell: toggles back
    groups().matrixReleased();
    groups().matrixPointerEntered(1, 3); // the button is up
    EXPECT_TRUE(groups().membership().isMember(0, 1));
    EXPECT_FALSE(groups().membership().isMember(1, 1));
    EXPECT_TRUE(groups().membership().isMember(2, 1));
    EXPECT_FALSE(groups().membership().isMember(3, 1));
}

TEST_F(LinkGroups, AGroupWhoseMembersAreAllOffShowsNoDotsButStillHasMembers)
{
    choose(0, 4);
    choose(1, 4);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 0, 0);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 1, 0);
    EXPECT_FALSE(groups().matrixShowsDot(4, 0));
    EXPECT_FALSE(groups().matrixShowsDot(4, 1));
    EXPECT_TRUE(groups().membership().hasMembers(4));
    EXPECT_TRUE(groups().isInAnyGroup(0));
}

TEST_F(LinkGroups, MuteMatchBothWays)
{
    // An unmuted input joining a group with a muted engaged member is muted.
    choose(0, 1);
    control.switchChanged(static_cast<int>(SwitchKind::Mute), 0, 1);
    clearRecords();
    groups().matrixCellPressed(1, 1);
    groups().matrixReleased();
    EXPECT_EQ(live(1).mute, 1);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Link", 1, 1, 2}, {"Mute", 1, 1, 2}}));
    EXPECT_EQ(control.undoHistory().entries()[1], (UndoEntry{1, 7, 1}));

    // A muted input joining a group with no muted engaged member stays muted; the others
    // keep their mute.
    choose(2, 6);
    live(3).mute = 1;
    clearRecords();
    groups().matrixCellPressed(6, 3);
    EXPECT_EQ(live(3).mute, 1);
    EXPECT_EQ(live(2).mute, 0);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Link", 1, 1, 4}, {"Mute", 1, 1, 4}}));

    // With the preference off nothing is matched.
    groups().matrixReleased();
    control.setMuteLinkedChannels(false);
    clearRecords();
    groups().matrixCellPressed(1, 4);
    EXPECT_EQ(live(4).mute, 0);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Link", 1, 1, 5}}));
}

TEST_F(LinkGroups, RebuildKeepsEveryMembershipAndRetakesReferences)
{
    choose(0, 1);
    choose(1, 1);
    choose(2, 10);
    choose(3, 4);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 3, 0);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 1, 0);
    control.singleGainMove(1, 20);
    const LinkMembership::Table before = groups().membership().table();
    clearRecords();

    groups().rebuildLinkGroups();

    EXPECT_EQ(groups().membership().table(), before);
    EXPECT_EQ(live(0).linkGroup, 1);
    EXPECT_EQ(live(1).linkGroup, 1);
    EXPECT_EQ(live(2).linkGroup, 10);
    EXPECT_EQ(live(3).linkGroup, 4);
    EXPECT_EQ(live(1).gainAux, 20);
    EXPECT_EQ(live(0).linkButton, 1);
    EXPECT_EQ(live(1).linkButton, 0); // its link was switched off: it stays off
    EXPECT_EQ(live(3).linkButton, 0);
    // Every member left (group by group) and joined again.
    const std::vector<Sent> leaves{{"Link", 0, 1, 1}, {"Link", 0, 1, 2}, {"Link", 0, 1, 4}, {"Link", 0, 1, 3}};
    EXPECT_EQ(std::vector<Sent>(units.sent.begin(), units.sent.begin() + 4), leaves);
    expectUnitsLinkMatchesSwitches();
}

TEST_F(LinkGroups, ARestoredOrRecalledGroupIsFollowedByTheFlags)
{
    ChannelSettings stored{};
    stored.linkGroup = 8;
    stored.linkButton = 1;
    control.applySceneChannel(12, stored, ChannelControl::GainSendOrder::GainLast);
    EXPECT_TRUE(groups().membership().isMember(12, 8));
    control.clearLinkMemberships();
    EXPECT_FALSE(groups().isInAnyGroup(12));
    EXPECT_EQ(live(12).linkGroup, 8); // the settings stay; the recall applies them next
}

TEST_F(LinkGroups, TitlesNotesAndMemberLines)
{
    groups().setGroupText(3, "Drums", "overheads");
    groups().setGroupText(0, "x", "y");
    groups().setGroupText(11, "x", "y");
    EXPECT_EQ(project.linkGroups[2].title, "Drums");
    EXPECT_EQ(project.linkGroups[2].notes, "overheads");
    EXPECT_EQ(listener.groupTexts, std::vector<int>{3});
    EXPECT_EQ(groups().rowHeaderText(3), "03   Drums");
    EXPECT_EQ(groups().rowHeaderText(10), "10   ");

    project.channels[9].name = "Kick";
    choose(9, 3);
    choose(4, 3);
    EXPECT_EQ(groups().memberLines(3), (std::vector<std::string>{"005 Channel 5", "010 Kick"}));
    EXPECT_TRUE(groups().memberLines(2).empty());
}

} // namespace
} // namespace deskpanel::test
