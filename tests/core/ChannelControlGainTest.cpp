#include "tests/core/ChannelControlFixture.h"

namespace deskpanel::test {
namespace {

class ChannelGain : public ChannelControlTest {
protected:
    ChannelGain() { units.present = {1}; }

    void drag(int channel, int position)
    {
        control.faderGrabbed(channel);
        control.faderMoved(channel, position, false);
        control.faderReleased(channel);
    }
};

TEST_F(ChannelGain, SingleMoveSendsDbAndShowsBothTexts)
{
    control.singleGainMove(2, 30);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 50, 1, 3}}));
    EXPECT_EQ(live(2).gainPosition, 30);
    EXPECT_EQ(control.overviewGainText(2), "+ 50 dB");
    EXPECT_EQ(control.underviewGainText(2), "+50 ");
    EXPECT_TRUE(listener.saw(2, ChannelAspect::Gain));
    EXPECT_EQ(scenes.marked, 1);
    EXPECT_EQ(scenes.updated, 0);

    control.singleGainMove(2, 72);
    EXPECT_EQ(control.overviewGainText(2), "+ 8 dB");
    EXPECT_EQ(control.underviewGainText(2), "+8 ");
    EXPECT_EQ(control.underviewGainText(3), "+8"); // untouched since the reset state
}

TEST_F(ChannelGain, FullResendRunsOnce100MsAfterTheLastMove)
{
    control.singleGainMove(0, 30);
    timers.advance(60);
    control.singleGainMove(0, 31);
    timers.advance(60);
    EXPECT_EQ(std::count(units.sent.begin(), units.sent.end(), Sent{"fullResend", 0, 0, 0}), 0);
    timers.advance(40);
    EXPECT_EQ(units.sent.back(), (Sent{"fullResend", 0, 0, 0}));
    timers.advance(1000);
    EXPECT_EQ(std::count(units.sent.begin(), units.sent.end(), Sent{"fullResend", 0, 0, 0}), 1);
}

TEST_F(ChannelGain, ThreeMemberDragKeepsOffsetsAndStopsAtTheTop)
{
    joinAt(0, 5, 10);
    joinAt(1, 5, 30);
    joinAt(2, 5, 40);
    clearRecords();

    // Requested 5 for the member at 30: raised to 20 so that the member at 10 ends at 0.
    drag(1, 5);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 80, 1, 1}, {"Gain", 60, 1, 2}, {"Gain", 50, 1, 3}}));
    EXPECT_EQ(live(0).gainPosition, 0);
    EXPECT_EQ(live(1).gainPosition, 20);
    EXPECT_EQ(live(2).gainPosition, 30);
    EXPECT_EQ(scenes.marked, 1);
    EXPECT_EQ(scenes.updated, 1); // on release

    // Too far down: lowered so that the member at 40 ends exactly at 72.
    clearRecords();
    drag(0, 60);
    EXPECT_EQ(live(0).gainPosition, 42);
    EXPECT_EQ(live(1).gainPosition, 62);
    EXPECT_EQ(live(2).gainPosition, 72);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 38, 1, 1}, {"Gain", 18, 1, 2}, {"Gain", 8, 1, 3}}));
}

TEST_F(ChannelGain, LinkedMoveFollowsReferencesNotPresentPositions)
{
    joinAt(0, 1, 20);
    joinAt(1, 1, 40);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 1, 0);
    control.singleGainMove(1, 50); // moved alone; the group keeps its old offset
    control.switchChanged(static_cast<int>(SwitchKind::Link), 1, 1);
    control.singleGainMove(0, 25); // a member moved alone without Alt is a single move
    clearRecords();

    control.linkedGainMove(1, 52);
    // References were re-taken at the rejoin: 20 and 50.
    EXPECT_EQ(live(0).gainPosition, 22);
    EXPECT_EQ(live(1).gainPosition, 52);
}

TEST_F(ChannelGain, AMemberWithItsSwitchOffNeitherMovesNorIsMoved)
{
    joinAt(0, 3, 20);
    joinAt(1, 3, 20);
    joinAt(2, 3, 20);
    control.switchChanged(static_cast<int>(SwitchKind::Link), 2, 0);
    clearRecords();

    drag(0, 10);
    EXPECT_EQ(live(1).gainPosition, 10);
    EXPECT_EQ(live(2).gainPosition, 20);
    drag(2, 30);
    EXPECT_EQ(live(0).gainPosition, 10);
    EXPECT_EQ(live(2).gainPosition, 30);
}

TEST_F(ChannelGain, AGroupWiderThanTheFaderDropsTheMove)
{
    units.reduced = true;
    joinAt(0, 1, 5); // joined before the range was reduced
    joinAt(1, 1, 72);
    clearRecords();
    control.linkedGainMove(0, 20);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(live(0).gainPosition, 5);
    EXPECT_EQ(live(1).gainPosition, 72);
    EXPECT_FALSE(timers.isRunning(TimerId::FullResend));
    EXPECT_EQ(scenes.marked, 0);
}

TEST_F(ChannelGain, ReducedRangeCapsGainAndStopsFadersAndKeysAt11)
{
    units.reduced = true;
    EXPECT_EQ(control.gainDbOf(0), 8);
    live(0).gainPosition = 5;
    EXPECT_EQ(control.gainDbOf(0), 69);

    control.singleGainMove(1, 2);
    EXPECT_EQ(live(1).gainPosition, 11);
    EXPECT_EQ(units.sent.back(), (Sent{"Gain", 69, 1, 2}));
    EXPECT_EQ(control.overviewGainText(1), "+ 69 dB");

    control.setCurrentChannel(1);
    clearRecords();
    control.keyUp();
    EXPECT_EQ(live(1).gainPosition, 11);
    EXPECT_TRUE(units.sent.empty());
    control.keyDown();
    EXPECT_EQ(live(1).gainPosition, 12);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 68, 1, 2}}));

    // A linked group is stopped at the floor too.
    joinAt(2, 4, 20);
    joinAt(3, 4, 30);
    drag(3, 0);
    EXPECT_EQ(live(2).gainPosition, 11);
    EXPECT_EQ(live(3).gainPosition, 21);
}

TEST_F(ChannelGain, KeysStepTheCurrentChannelAndRecordNoUndo)
{
    control.setCurrentChannel(4);
    control.keyDown(); // already at 72: nothing
    EXPECT_TRUE(units.sent.empty());
    control.keyUp();
    control.keyUp();
    EXPECT_EQ(live(4).gainPosition, 70);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 9, 1, 5}, {"Gain", 10, 1, 5}}));
    EXPECT_EQ(control.undoHistory().undoableCount(), 0);

    live(4).gainPosition = 0;
    clearRecords();
    control.keyUp();
    EXPECT_TRUE(units.sent.empty());
}

TEST_F(ChannelGain, LinkedKeysStopWhenAnyMemberIsAtAnEnd)
{
    joinAt(0, 2, 1);
    joinAt(1, 2, 71);
    control.setCurrentChannel(1);
    clearRecords();
    control.keyDown();
    EXPECT_EQ(live(0).gainPosition, 2);
    EXPECT_EQ(live(1).gainPosition, 72);
    control.keyDown();
    EXPECT_EQ(live(1).gainPosition, 72);
    control.keyUp();
    control.keyUp();
    control.keyUp();
    EXPECT_EQ(live(0).gainPosition, 0);
    EXPECT_EQ(live(1).gainPosition, 70);
}

TEST_F(ChannelGain, ReducedRangeUpOnASetWithAMemberAtTheFloorChangesAndSendsNothing)
{
    units.reduced = true;
    joinAt(0, 1, 11);
    joinAt(1, 1, 20);
    control.setCurrentChannel(1);
    clearRecords();
    control.keyUp();
    EXPECT_EQ(live(0).gainPosition, 11);
    EXPECT_EQ(live(1).gainPosition, 20);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_FALSE(timers.isRunning(TimerId::FullResend));
    EXPECT_EQ(scenes.marked, 0);
}

TEST_F(ChannelGain, ReducedRangeDownFromBelowTheFloorMovesOneStep)
{
    units.reduced = true;
    // Positions set before the reduced range was reported.
    live(1).gainPosition = 5;
    joinAt(2, 4, 5);
    joinAt(3, 4, 30);
    clearRecords();

    control.setCurrentChannel(1);
    control.keyDown();
    EXPECT_EQ(live(1).gainPosition, 6);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 69, 1, 2}}));

    control.setCurrentChannel(2);
    control.keyDown();
    EXPECT_EQ(live(2).gainPosition, 6);
    EXPECT_EQ(live(3).gainPosition, 31);
    // More gain than it has stays barred: Up does nothing below the floor.
    control.keyUp();
    EXPECT_EQ(live(2).gainPosition, 6);
}

TEST_F(ChannelGain, ThreeUndosPutADragBackOneFaderAtATimeInDb)
{
    joinAt(0, 5, 12);
    joinAt(1, 5, 30);
    joinAt(2, 5, 45);
    drag(1, 20);
    EXPECT_EQ(live(0).gainPosition, 2);
    EXPECT_EQ(live(2).gainPosition, 35);
    clearRecords();

    control.undo();
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 35, 1, 3}}));
    EXPECT_EQ(live(2).gainPosition, 45);
    EXPECT_EQ(live(1).gainPosition, 20);
    control.undo();
    EXPECT_EQ(live(1).gainPosition, 30);
    EXPECT_EQ(live(0).gainPosition, 2);
    control.undo();
    EXPECT_EQ(live(0).gainPosition, 12);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 35, 1, 3}, {"Gain", 50, 1, 2}, {"Gain", 68, 1, 1}}));
    EXPECT_EQ(control.underviewGainText(0), "+68 ");
    EXPECT_EQ(scenes.marked, 0);
}

TEST_F(ChannelGain, DialogJustClosedDropsExactlyOneSingleMove)
{
    control.raiseDialogJustClosed();
    control.singleGainMove(0, 30);
    EXPECT_EQ(live(0).gainPosition, 72);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_FALSE(control.isDialogJustClosedRaised());
    EXPECT_EQ(scenes.marked, 0);

    control.singleGainMove(0, 30);
    EXPECT_EQ(live(0).gainPosition, 30);
    EXPECT_EQ(units.sent, (std::vector<Sent>{{"Gain", 50, 1, 1}}));
}

TEST_F(ChannelGain, HeldStripsAndBadChannelsMoveNothing)
{
    control.setStripsHeld(true);
    control.singleGainMove(0, 30);
    control.setStripsHeld(false);
    control.singleGainMove(-1, 30);
    control.singleGainMove(MaxChannels, 30);
    control.faderMoved(999, 30, false);
    control.faderGrabbed(-5);
    EXPECT_TRUE(units.sent.empty());
    EXPECT_EQ(live(0).gainPosition, 72);
    EXPECT_EQ(control.undoHistory().undoableCount(), 0);
    EXPECT_FALSE(control.isDragInProgress());

    control.singleGainMove(1, 200); // the control limits; so do we
    EXPECT_EQ(live(1).gainPosition, 72);
    control.singleGainMove(1, -3);
    EXPECT_EQ(live(1).gainPosition, 0);
}

TEST_F(ChannelGain, AltDragUnlinksUntilTheDragEndsThenTheGroupTakesTheNewOffset)
{
    joinAt(0, 1, 20);
    joinAt(1, 1, 40);
    clearRecords();

    control.faderGrabbed(0);
    control.faderMoved(0, 10, true);
    EXPECT_TRUE(control.isTemporaryUnlinkPending());
    EXPECT_EQ(live(0).linkButton, 0);
    EXPECT_EQ(live(1).gainPosition, 40); // moved alone
    EXPECT_EQ(units.sent.back(), (Sent{"Gain", 70, 1, 1}));
    control.faderMoved(0, 8, true); // still pending: no second unlink
    EXPECT_EQ(live(0).gainPosition, 8);

    timers.advance(100); // the drag goes on: the timer keeps running
    EXPECT_TRUE(control.isTemporaryUnlinkPending());
    EXPECT_TRUE(timers.isRunning(TimerId::TemporaryUnlink));

    control.faderReleased(0);
    timers.advance(20);
    EXPECT_FALSE(control.isTemporaryUnlinkPending());
    EXPECT_FALSE(timers.isRunning(TimerId::TemporaryUnlink));
    EXPECT_EQ(live(0).linkButton, 1);
    EXPECT_EQ(live(0).gainAux, 8);
    EXPECT_EQ(live(1).gainAux, 40);
    EXPECT_EQ(timers.periodOf(TimerId::FullResend), 1000u);
    expectUnitsLinkMatchesSwitches();

    // The group moves with its new offset of 32.
    control.linkedGainMove(1, 41);
    EXPECT_EQ(live(0).gainPosition, 9);
}

TEST_F(ChannelGain, GrabRecordsOneEntryPerLinkedMember)
{
    joinAt(0, 1, 20);
    joinAt(1, 1, 40);
    joinAt(9, 1, 50);
    const int before = control.undoHistory().undoableCount();
    control.faderGrabbed(1);
    const auto& slots = control.undoHistory().entries();
    EXPECT_EQ(slots[0], (UndoEntry{9, 9, 50}));
    EXPECT_EQ(slots[1], (UndoEntry{1, 9, 40}));
    EXPECT_EQ(slots[2], (UndoEntry{0, 9, 20}));
    EXPECT_EQ(control.undoHistory().undoableCount(), std::min(before + 3, 8));
    EXPECT_EQ(control.currentChannel(), 1);
    EXPECT_TRUE(control.isDragInProgress());
}

} // namespace
} // namespace deskpanel::test
