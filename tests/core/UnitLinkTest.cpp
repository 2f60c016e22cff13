#include "core/unitlink/UnitLink.h"
#include "core/model/Limits.h"
#include "tests/support/FakeLinkTransport.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/PacketBuilder.h"
#include "tests/support/RecordingDatagramSender.h"
#include "tests/support/RecordingLinkEvents.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/UnitLinkRig.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace deskpanel;
using namespace deskpanel::test;
using Kind = ScriptedOperator::Kind;

namespace {

std::uint32_t ip(int last)
{
    return UnitLinkRig::ip(last);
}

class UnitLinkTest : public ::testing::Test, protected UnitLinkRig {};

} // namespace

TEST_F(UnitLinkTest, FirstPacketCreatesAnActiveRecordAndSendsItsSettings)
{
    discover(3);
    EXPECT_EQ(link.state(3), UnitState::ACTIVE);
    EXPECT_EQ(link.unitCount(), 1);
    EXPECT_EQ(events.calls, (std::vector<std::string>{"save 3", "restore 3"}));
    EXPECT_EQ(events.levelCount, 0); // the first packet's levels are not used
    EXPECT_TRUE(timers.isRunning(TimerId::OfflineCheck));
    EXPECT_EQ(link.slot(3).slotIpText, "127.0.0.3");
    EXPECT_TRUE(link.isUnitPresent(3));
    EXPECT_FALSE(link.isUnitPresent(4));
}

TEST_F(UnitLinkTest, TableKeepsMacOrderWhateverTheArrivalOrder)
{
    for (int unit : {9, 2, 30, 1})
        discover(unit);
    ASSERT_EQ(link.table().size(), 4u);
    EXPECT_EQ(link.table().at(0).unitId, 1);
    EXPECT_EQ(link.table().at(1).unitId, 2);
    EXPECT_EQ(link.table().at(2).unitId, 9);
    EXPECT_EQ(link.table().at(3).unitId, 30);
}

TEST_F(UnitLinkTest, NewUnitIsNotReportedFaultyOnItsSecondPacket)
{
    discover(5);
    receive(unitFields(5), ip(5));
    receive(unitFields(5), ip(5));
    EXPECT_EQ(link.state(5), UnitState::ACTIVE);
    EXPECT_EQ(std::count(events.stateChanges.begin(), events.stateChanges.end(), 5), 1);
    EXPECT_EQ(events.levelCount, 16);
}

TEST_F(UnitLinkTest, AbnormalReadingsGiveFaultOnTheFollowingPacketAndClearAfterNormalOnes)
{
    discover(5);
    UnitPacketFields bad = unitFields(5);
    bad.health[1] = 100; // 20 V on the 24 V supply
    receive(bad, ip(5));
    EXPECT_EQ(link.state(5), UnitState::ACTIVE); // judged from the previous packet's readings
    receive(unitFields(5), ip(5));
    EXPECT_EQ(link.state(5), UnitState::FAULT);
    link.fullResend();
    EXPECT_EQ(sender.sent.back().bytes[30], 1); // the poll packet tells the unit
    receive(unitFields(5), ip(5));
    EXPECT_EQ(link.state(5), UnitState::ACTIVE);
    link.fullResend();
    EXPECT_EQ(sender.sent.back().bytes[30], 0);
}

// The classification as written keeps a faulty unit that went to front-panel mode LOCAL
// when it returns with readings still abnormal: its health state is FAULT already, so
// nothing sets the state again until its readings are normal.
TEST_F(UnitLinkTest, FaultyUnitBackFromLocalModeWithBadReadingsStaysLocal)
{
    discover(5);
    UnitPacketFields bad = unitFields(5);
    bad.health[4] = 0; // 0 degrees C
    receive(bad, ip(5));
    receive(bad, ip(5));
    ASSERT_EQ(link.state(5), UnitState::FAULT);
    UnitPacketFields local = bad;
    local.mode = 0;
    receive(local, ip(5));
    EXPECT_EQ(link.state(5), UnitState::LOCAL);
    receive(bad, ip(5));
    EXPECT_EQ(link.state(5), UnitState::LOCAL);
    receive(unitFields(5), ip(5)); // judged by the bad readings before it
    EXPECT_EQ(link.state(5), UnitState::LOCAL);
    receive(unitFields(5), ip(5));
    EXPECT_EQ(link.state(5), UnitState::ACTIVE);
}

TEST_F(UnitLinkTest, LocalModeIsNotTakenOnAndBlinksOncePerHalfSecond)
{
    UnitPacketFields local = unitFields(7);
    local.mode = 0;
    receive(local, ip(7));
    EXPECT_EQ(link.unitCount(), 0);
    EXPECT_EQ(link.state(7), UnitState::INACTIVE);

    discover(7);
    for (int i = 0; i < 12; ++i) {
        receive(local, ip(7));
        clock.advance(100);
    }
    EXPECT_EQ(link.state(7), UnitState::LOCAL);
    // 1100 ms of packets every 100 ms: a toggle only when more than 500 ms have passed.
    ASSERT_EQ(events.blinks.size(), 1u);
    EXPECT_EQ(events.blinks[0].second, UnitPicture::Inactive);
    receive(unitFields(7), ip(7));
    EXPECT_EQ(link.state(7), UnitState::ACTIVE);
}

TEST_F(UnitLinkTest, UnitNumbersOutsideTheRangeOnlyRaiseTheUnitIdNote)
{
    for (int bad : {0, 49, 255}) {
        op.timedNoteOpen = false;
        UnitPacketFields fields = unitFields(1);
        fields.unitNumber = static_cast<std::uint8_t>(bad);
        receive(fields, ip(1));
        ASSERT_FALSE(op.shown.empty());
        EXPECT_EQ(op.shown.back().text, "UNIT ID|You have chosen the Unit ID to be " + std::to_string(bad) +
                                            ".\n\nThe program is currently configured for a maximum of 48 Units.\n"
                                            "Please use a Unit ID number between 1 and 48.\n\n");
    }
    // While the note is open no second one opens.
    UnitPacketFields fields = unitFields(1);
    fields.unitNumber = 49;
    receive(fields, ip(1));
    EXPECT_EQ(op.textsOf(Kind::TimedNote).size(), 3u);
    EXPECT_EQ(link.unitCount(), 0);
    EXPECT_TRUE(events.stateChanges.empty());
}

TEST_F(UnitLinkTest, WrongMagicShowsItsMessageAndChangesNothing)
{
    UnitPacketFields fields = unitFields(4);
    fields.goodMagic = false;
    receive(fields, ip(4));
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage), (std::vector<std::string>{"VLTA Header != VLTA"}));
    EXPECT_EQ(link.unitCount(), 0);
    EXPECT_EQ(link.state(4), UnitState::INACTIVE);
}

TEST_F(UnitLinkTest, DatagramsOfAnyOtherLengthAreDropped)
{
    const PacketBytes bytes = unitPacket(unitFields(2));
    std::vector<std::uint8_t> longer(bytes.begin(), bytes.end());
    longer.push_back(0);
    link.handleDatagram(bytes.data(), 96, Ipv4Endpoint{ip(2), 1});
    link.handleDatagram(longer.data(), longer.size(), Ipv4Endpoint{ip(2), 1});
    link.handleDatagram(bytes.data(), 0, Ipv4Endpoint{ip(2), 1});
    EXPECT_EQ(link.unitCount(), 0);
    EXPECT_EQ(link.rxCount(), 0u);
    EXPECT_TRUE(op.shown.empty());
}

TEST_F(UnitLinkTest, NoPollBeforeAnyPacketThenEveryUnitPolledInTableOrder)
{
    link.fullResend(); // nothing to send to
    timers.start(TimerId::Poll, UnitLink::PollPeriodMs);
    timers.advance(16000);
    EXPECT_TRUE(sender.sent.empty());
    discover(2);
    discover(1);
    timers.advance(8000);
    ASSERT_EQ(sender.sent.size(), 2u);
    EXPECT_EQ(sender.sent[0].bytes[5], 1);
    EXPECT_EQ(sender.sent[1].bytes[5], 2);
    EXPECT_EQ(sender.sent[0].to.port, 2001);
    EXPECT_EQ(sender.sent[0].to.address, ip(1));
    EXPECT_EQ(sender.sent[1].to.address, ip(2));
}

TEST_F(UnitLinkTest, SequenceNumbersCountEveryDatagramOfBothKinds)
{
    discover(1);
    discover(2);
    link.sendParameter("Gain", 40, 1, 1);
    link.fullResend();
    link.sendParameter("Mute", 1, 2, 8);
    // Rounds abandoned for want of a socket spend no numbers.
    sender.failSockets = true;
    link.fullResend();
    link.sendParameter("Gain", 40, 1, 1);
    sender.failSockets = false;
    link.sendParameter("Gain", 41, 2, 1);
    std::vector<std::uint32_t> sequences;
    for (const auto& sent : sender.sent) {
        PacketBytes bytes{};
        std::copy(sent.bytes.begin(), sent.bytes.end(), bytes.begin());
        sequences.push_back(readU32(bytes, 26));
    }
    EXPECT_EQ(sequences, (std::vector<std::uint32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(link.txSequence(), 5u);
    EXPECT_EQ(sender.sent[0].bytes[packet::blockOffset(1) + 4], 0x80 + 40);
    EXPECT_EQ(sender.sent[3].bytes[packet::blockOffset(8) + 5], 0x90);
}

TEST_F(UnitLinkTest, ParameterForAnAbsentUnitSendsNothing)
{
    discover(1);
    link.sendParameter("Gain", 40, 2, 1);
    EXPECT_TRUE(sender.sent.empty());
}

TEST_F(UnitLinkTest, UpdateRateIsStoredAndSentAtOnceOnlyWithUnits)
{
    link.setUpdateRate(500);
    EXPECT_EQ(prefs.ethernetUpdateRate, 500);
    EXPECT_TRUE(sender.sent.empty());
    discover(1);
    link.setUpdateRate(50);
    ASSERT_EQ(sender.sent.size(), 1u);
    EXPECT_EQ(sender.sent[0].bytes[31], 0);
    EXPECT_EQ(sender.sent[0].bytes[32], 50);
}

TEST_F(UnitLinkTest, SilentUnitGoesOfflineAfterMoreThan5000ms)
{
    timers.start(TimerId::OfflineCheck, 5000);
    discover(6); // restarts the check timer
    timers.advance(5000);
    EXPECT_EQ(link.state(6), UnitState::ACTIVE); // exactly 5000 ms silent is not off-line
    timers.advance(5000);
    EXPECT_EQ(op.textsOf(Kind::Message),
              (std::vector<std::string>{"RP8 Unit 6 has gone off-line and will be de-activated"}));
    EXPECT_EQ(link.state(6), UnitState::OFFLINE);
    EXPECT_EQ(link.unitCount(), 0);
    EXPECT_TRUE(link.table().empty());
    // Taken on again, as a new unit, by its next packet.
    discover(6);
    EXPECT_EQ(link.state(6), UnitState::ACTIVE);
    EXPECT_EQ(link.unitCount(), 1);
}

TEST_F(UnitLinkTest, PacketWhileTheOfflineMessageIsOpenDoesNotBreakTheCount)
{
    discover(6);
    discover(7);
    clock.advance(3000);
    receive(unitFields(7), ip(7));
    clock.advance(2500);
    op.whileOpen = [&] {
        receive(unitFields(6), ip(6)); // the unit speaks again while the box is open
        link.fullResend();
    };
    timers.fireNow(TimerId::OfflineCheck);
    EXPECT_EQ(link.state(6), UnitState::OFFLINE);
    EXPECT_EQ(link.unitCount(), 1);
    EXPECT_EQ(link.table().size(), 1u);
    discover(6);
    EXPECT_EQ(link.unitCount(), 2);
    EXPECT_EQ(link.state(6), UnitState::ACTIVE);
}

TEST_F(UnitLinkTest, SameIpWithAnotherMacIsAConflictFor2000ms)
{
    discover(1);
    UnitPacketFields intruder = unitFields(2);
    receive(intruder, ip(1)); // another unit, same address
    EXPECT_EQ(link.state(2), UnitState::CONFLICT);
    EXPECT_TRUE(link.slot(2).ipConflict);
    EXPECT_TRUE(link.conflictPending());
    EXPECT_EQ(link.unitCount(), 1);
    timers.advance(1500);
    receive(intruder, ip(1)); // restarts the end timer
    timers.advance(1500);
    EXPECT_EQ(link.state(2), UnitState::CONFLICT);
    timers.advance(600);
    EXPECT_EQ(link.state(2), UnitState::ACTIVE);
    EXPECT_FALSE(link.slot(2).ipConflict);
    EXPECT_FALSE(link.conflictPending());
}

// A unit that keeps sending is never declared off-line, whatever its packets are
// classified as: in front-panel mode, or from an address another unit holds. Each runs for
// 12 s of packets every 100 ms, past two off-line checks.
TEST_F(UnitLinkTest, UnitThatKeepsSendingIsNeverDeclaredOffline)
{
    struct Case {
        const char* name;
        bool local;
        std::uint32_t from; // unit 2 sends from here; unit 1 keeps sending from its own
        UnitState state;
    };
    const Case cases[] = {
        {"front-panel (LOCAL) mode", true, ip(2), UnitState::LOCAL},
        {"address held by unit 1", false, ip(1), UnitState::CONFLICT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A link of its own for each case, on a clock of its own.
        UnitLinkRig own;
        UnitLink& fresh = own.link;
        const auto receiveAt = [&own](const UnitPacketFields& fields, std::uint32_t from) {
            own.receive(fields, from);
        };
        receiveAt(unitFields(1), ip(1));
        receiveAt(unitFields(2), ip(2));
        ASSERT_EQ(fresh.unitCount(), 2);
        UnitPacketFields two = unitFields(2);
        two.mode = c.local ? 0 : 1;
        for (int tick = 0; tick < 120; ++tick) {
            receiveAt(unitFields(1), ip(1));
            receiveAt(two, c.from);
            own.timers.advance(100);
        }
        EXPECT_TRUE(own.op.textsOf(Kind::Message).empty());
        EXPECT_EQ(fresh.state(2), c.state);
        EXPECT_EQ(fresh.state(1), UnitState::ACTIVE);
        EXPECT_EQ(fresh.unitCount(), 2);
        EXPECT_EQ(fresh.table().size(), 2u);
        EXPECT_TRUE(own.timers.isRunning(TimerId::OfflineCheck));
    }
}

TEST_F(UnitLinkTest, NewUnitWithANumberAlreadyHeldIsAConflictAndNotTakenOn)
{
    discover(4);
    UnitPacketFields second = unitFields(4);
    second.mac = macOf(40);
    receive(second, ip(40));
    EXPECT_EQ(link.state(4), UnitState::CONFLICT);
    EXPECT_TRUE(link.slot(4).idConflict);
    // The holder keeps its record; the newcomer gets none.
    EXPECT_EQ(link.unitCount(), 1);
    ASSERT_EQ(link.table().size(), 1u);
    EXPECT_EQ(link.table().at(0).mac, macOf(4));
    timers.advance(2000);
    EXPECT_EQ(link.state(4), UnitState::ACTIVE);
}

TEST_F(UnitLinkTest, KnownUnitTakingANumberHeldByAnotherRemovesTheOther)
{
    discover(4);
    discover(5);
    UnitPacketFields renumbered = unitFields(5);
    renumbered.unitNumber = 4; // unit 5 now says it is unit 4
    receive(renumbered, ip(5));
    EXPECT_EQ(link.state(5), UnitState::INACTIVE);
    EXPECT_EQ(link.state(4), UnitState::OFFLINE);
    EXPECT_EQ(link.unitCount(), 1);
    ASSERT_EQ(link.table().size(), 1u);
    // Its next packet takes the number over.
    events.calls.clear();
    receive(renumbered, ip(5));
    EXPECT_EQ(link.state(4), UnitState::ACTIVE);
    EXPECT_EQ(events.calls, (std::vector<std::string>{"save 4", "restore 4"}));
    EXPECT_EQ(link.table().at(0).imageUnitNumber(), 4);
    // The conflict's end timer finds the number active already.
    timers.advance(2000);
    EXPECT_EQ(link.state(4), UnitState::ACTIVE);
}

TEST_F(UnitLinkTest, UnitChangingItsNumberCarriesItsSettingsAndFreesTheOldNumber)
{
    discover(3);
    events.calls.clear();
    UnitPacketFields moved = unitFields(3);
    moved.unitNumber = 12;
    receive(moved, ip(3));
    EXPECT_EQ(link.state(3), UnitState::INACTIVE);
    EXPECT_EQ(link.state(12), UnitState::ACTIVE);
    EXPECT_EQ(events.calls, (std::vector<std::string>{"save 12", "restore 12"}));
    EXPECT_TRUE(link.isUnitPresent(12));
    EXPECT_FALSE(link.isUnitPresent(3));
    EXPECT_EQ(link.unitCount(), 1);
    link.sendParameter("Pad", 1, 12, 2);
    ASSERT_FALSE(sender.sent.empty());
    EXPECT_EQ(sender.sent.back().bytes[5], 12);
}

TEST_F(UnitLinkTest, UnitChangingItsAddressKeepsItsRecord)
{
    discover(3);
    receive(unitFields(3), ip(99));
    EXPECT_EQ(link.unitCount(), 1);
    EXPECT_EQ(link.slot(3).slotIpText, "127.0.0.99");
    link.fullResend();
    EXPECT_EQ(sender.sent.back().to.address, ip(99));
}

TEST_F(UnitLinkTest, ReducedGainVariantRaisesTheFlagForTheRun)
{
    discover(2);
    UnitPacketFields variant = unitFields(2);
    variant.variant = 1;
    receive(variant, ip(2));
    EXPECT_TRUE(link.reducedGainRange());
    receive(unitFields(2), ip(2));
    EXPECT_TRUE(link.reducedGainRange());
}

TEST_F(UnitLinkTest, FailedSendSocketAbandonsTheRound)
{
    discover(1);
    discover(2);
    sender.failSockets = true;
    link.fullResend();
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage), (std::vector<std::string>{"Error in socket"}));
}

// One error box at a time, and none for what a remote caused: those failures are counted
// and told to the event log's listener instead.
TEST_F(UnitLinkTest, FailedSendsOpenOneBoxAtATimeAndNoneWhileQuiet)
{
    struct Told : HostPortListener {
        void hostPortBusy(std::uint16_t) override {}
        void hostPortBound(std::uint16_t, bool) override {}
        void sendFailedQuietly(const std::string& why) override { whys.push_back(why); }
        std::vector<std::string> whys;
    } told;
    link.addHostPortListener(&told);
    discover(1);
    discover(2);
    sender.failSockets = true;
    op.whileOpen = [this] { link.sendParameter("Mute", 1, 2, 1); }; // a timer inside the box
    link.fullResend();
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage), (std::vector<std::string>{"Error in socket"}));
    EXPECT_EQ(link.failedSends(), 2u);

    link.setQuietFailures(true);
    link.sendParameter("Mute", 1, 1, 1);
    link.setQuietFailures(false);
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage).size(), 1u);
    EXPECT_EQ(link.failedSends(), 3u);
    EXPECT_EQ(told.whys, (std::vector<std::string>{"while the error box was open", "caused by a remote message"}));
    link.removeHostPortListener(&told);
}

TEST_F(UnitLinkTest, KnownUnitWithANewNumberFromAnotherUnitsAddressFilesUnderTheNewNumber)
{
    discover(1);
    discover(2);
    UnitPacketFields moved = unitFields(1);
    moved.unitNumber = 3;
    moved.mode = 7;
    moved.levelWords[0] = 0x0105; // +5 dB on input 1
    receive(moved, ip(2)); // unit 1, now number 3, from unit 2's address
    EXPECT_EQ(link.state(3), UnitState::CONFLICT);
    EXPECT_EQ(events.lastLevel[channelIndex(3, 1)], 5);
    EXPECT_EQ(events.lastLevel[channelIndex(1, 1)], 0);
    EXPECT_EQ(link.slot(3).modeByte, 7);
    EXPECT_EQ(link.slot(1).modeByte, 0);
    EXPECT_TRUE(link.slot(3).hasReadings);
    EXPECT_FALSE(link.slot(1).hasReadings);
}

TEST_F(UnitLinkTest, UnitNumbersComeInTableOrderWithDuplicates)
{
    discover(2);
    UnitPacketFields low = unitFields(9);
    low.mac = {0x00, 0x00, 0x00, 0x00, 0x00, 0x01}; // before every other MAC
    receive(low, ip(9));
    EXPECT_EQ(link.unitNumbersInTableOrder(), (std::vector<int>{9, 2}));
    // From a new address a unit takes the number it reports without a conflict check,
    // so two records can carry one number.
    UnitPacketFields renumbered = low;
    renumbered.unitNumber = 2;
    receive(renumbered, ip(50));
    EXPECT_EQ(link.unitNumbersInTableOrder(), (std::vector<int>{2, 2}));
}

TEST_F(UnitLinkTest, NothingIsHandledAfterStop)
{
    link.stop();
    discover(1);
    EXPECT_EQ(link.unitCount(), 0);
}

using FakeTransport = FakeLinkTransport;

TEST_F(UnitLinkTest, StartReportsEachNetworkFailureWithItsMessage)
{
    FakeTransport transport;
    transport.result = {true, false, "", true, false, false};
    link.start(transport);
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage),
              (std::vector<std::string>{"Error getting local host name and IP address",
                                        "Failed to find local host name and IP address", "setsockopt error",
                                        " Error in bind"}));
    EXPECT_FALSE(transport.receiving);
    EXPECT_FALSE(timers.isRunning(TimerId::Poll));
}

TEST_F(UnitLinkTest, StartWithoutASocketSaysSoAndStaysSilent)
{
    FakeTransport transport;
    transport.result = {true, true, "10.1.2.3", false, false, false};
    link.start(transport);
    EXPECT_EQ(op.textsOf(Kind::PlatformMessage), (std::vector<std::string>{"Error in establishing a socket"}));
    EXPECT_FALSE(timers.isRunning(TimerId::Poll));
}

TEST_F(UnitLinkTest, WithoutASocketLayerTheLinkStaysSilent)
{
    FakeTransport transport; // nothing started
    link.start(transport);
    EXPECT_TRUE(op.shown.empty());
    EXPECT_FALSE(transport.receiving);
    EXPECT_FALSE(timers.isRunning(TimerId::Poll));
}

TEST_F(UnitLinkTest, SuccessfulStartReceivesAndPollsAndStopClosesTheTransport)
{
    FakeTransport transport;
    transport.result = {true, true, "10.1.2.3", true, true, true};
    link.start(transport);
    EXPECT_TRUE(op.shown.empty());
    EXPECT_EQ(link.localIpText(), "10.1.2.3");
    EXPECT_TRUE(transport.receiving);
    EXPECT_EQ(timers.periodOf(TimerId::Poll), 8000u);
    link.stop();
    EXPECT_TRUE(transport.closed);
    EXPECT_FALSE(timers.isRunning(TimerId::Poll));
}
