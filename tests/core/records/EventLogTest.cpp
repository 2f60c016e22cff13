#include "core/records/EventLog.h"
#include "core/records/EventLogFile.h"
#include "core/records/UnitEventRecorder.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/FakeWallClock.h"
#ifndef _WIN32
#include "tests/support/ForkedChild.h"
#endif
#include "tests/support/PacketBuilder.h"
#include "tests/support/RecordingDatagramSender.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace deskpanel;
using namespace deskpanel::test;

namespace {

UnitEvent stateEvent(int unit, const char* oldState, const char* newState)
{
    UnitEvent event;
    event.unit = unit;
    event.oldState = oldState;
    event.newState = newState;
    event.text = "t";
    return event;
}

// "unit old>new text" for each event, oldest first.
std::vector<std::string> summaries(const std::vector<UnitEvent>& events)
{
    std::vector<std::string> out;
    for (const UnitEvent& e : events)
        out.push_back(std::to_string(e.unit) + " " + e.oldState + ">" + e.newState + " " + e.text);
    return out;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        out.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return out;
}

} // namespace

TEST(WallTimeTest, LocalTimeWithMillisecondsAndOffset)
{
    struct Case {
        WallTime time;
        const char* text;
        const char* stamp;
    };
    const Case cases[] = {
        {{1796677200000, 60}, "2026-12-07 22:00:00.000 +01:00", "2026-12-07 220000"},
        {{1796677200123 + 3600000 * 3, -330}, "2026-12-07 18:30:00.123 -05:30", "2026-12-07 183000"},
        {{0, 0}, "1970-01-01 00:00:00.000 +00:00", "1970-01-01 000000"},
        {{951782400999, 0}, "2000-02-29 00:00:00.999 +00:00", "2000-02-29 000000"}, // a leap day
    };
    for (const Case& c : cases) {
        EXPECT_EQ(wallTimeText(c.time), c.text);
        EXPECT_EQ(wallTimeStamp(c.time), c.stamp);
    }
    EXPECT_EQ(wallLocalDay({86400000 - 1, 0}) + 1, wallLocalDay({86400000 - 1, 1})); // 23:59 UTC is tomorrow at +1
}

TEST(EventLineTest, FieldsSurviveTheLineAndBadLinesAreSkipped)
{
    UnitEvent event{
        "2026-12-07 22:00:00.000 +01:00", 7, "0050C2100007", "127.0.0.7", "ACTIVE", "OFFLINE", "tab\there and\nbreak"};
    const std::string line = eventline::toLine(event);
    UnitEvent back;
    ASSERT_TRUE(eventline::parse(line, back));
    event.text = "tab here and break";
    EXPECT_EQ(back, event);
    const std::string file =
        std::string(eventline::Header) + "\n" + line + "\r\n" + "garbage\n1\t2\n\t999\ta\tb\tc\td\te\n" + line;
    EXPECT_EQ(eventline::parseAll(file).size(), 2u);
}

// Repeats of one (unit, old, new) within 10 s of the last are counted; the count is
// written 10 s after the last repeat, or when the log closes.
TEST(EventLogTest, RepeatsFoldIntoOneCountedLine)
{
    FakeClock clock;
    FakeWallClock wall;
    EventLog log(clock, wall, nullptr);
    const auto offer = [&](int unit, const char* from, const char* to, std::uint32_t afterMs) {
        clock.advance(afterMs);
        wall.advance(afterMs);
        log.record(stateEvent(unit, from, to));
        log.tick();
    };
    offer(7, "ACTIVE", "OFFLINE", 0); // written
    offer(7, "ACTIVE", "OFFLINE", 3000); // counted
    offer(8, "ACTIVE", "OFFLINE", 0); // another unit: written
    offer(7, "OFFLINE", "ACTIVE", 0); // another change: written
    offer(7, "ACTIVE", "OFFLINE", 9999); // 9999 ms after the last repeat: counted
    clock.advance(9999);
    log.tick();
    EXPECT_EQ(log.count(), 3u); // nothing due yet
    clock.advance(1);
    wall.advance(20000);
    log.tick(); // 10 s after unit 7's last repeat: its count
    offer(7, "ACTIVE", "OFFLINE", 5000); // a fresh start after the count
    offer(7, "ACTIVE", "OFFLINE", 1000);
    log.close(); // exit writes the open count
    EXPECT_EQ(summaries(log.eventsFrom(0)),
              (std::vector<std::string>{"7 ACTIVE>OFFLINE t", "8 ACTIVE>OFFLINE t", "7 OFFLINE>ACTIVE t",
                                        "7 ACTIVE>OFFLINE repeated 2 times, last at 2026-12-07 22:00:12.999 +01:00",
                                        "7 ACTIVE>OFFLINE t",
                                        "7 ACTIVE>OFFLINE repeated 1 times, last at 2026-12-07 22:00:38.999 +01:00"}));
    EXPECT_EQ(log.eventsFrom(4).size(), 2u);
}

// The file moves aside before a line would take it past the limit; five old files are
// kept and the oldest goes; every file starts with the header and none is too big.
TEST(EventLogTest, FilesRotateAtTheLimitKeepingFive)
{
    TempFolder folder;
    const std::string path = folder.file("state/DeskPanel/events.log");
    const std::uint64_t limit = 400;
    EventLogFile file(path, limit, 5);
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(file.append("line " + std::string(30, 'x') + " " + std::to_string(1000 + i)));
    EXPECT_FALSE(std::filesystem::exists(path + ".6"));
    std::vector<std::string> kept;
    for (const std::string& name : {path + ".5", path + ".4", path + ".3", path + ".2", path + ".1", path}) {
        ASSERT_TRUE(std::filesystem::exists(name)) << name;
        EXPECT_LE(std::filesystem::file_size(name), limit);
        const auto fileLines = lines(readText(name));
        ASSERT_FALSE(fileLines.empty());
        EXPECT_EQ(fileLines.front(), eventline::Header);
        kept.insert(kept.end(), fileLines.begin() + 1, fileLines.end());
    }
    // What is kept is the newest lines, in order, none lost between files.
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept.back(), "line " + std::string(30, 'x') + " 1099");
    for (std::size_t i = 1; i < kept.size(); ++i)
        EXPECT_EQ(std::stoi(kept[i].substr(36)), std::stoi(kept[i - 1].substr(36)) + 1);
}

// Events reach the file from the writer's thread; a file that cannot be written is
// reported once, and the events stay in memory.
TEST(EventLogTest, WriterThreadWritesAndReportsAFailureOnce)
{
    TempFolder folder;
    FakeClock clock;
    FakeWallClock wall;
    {
        writeText(folder.file("events.log"), std::string(eventline::Header) + "\n" +
                                                 eventline::toLine(stateEvent(3, "INACTIVE", "ACTIVE")) + "\n");
        EventLog log(clock, wall, std::make_unique<EventLogFile>(folder.file("events.log")));
        log.record(stateEvent(1, "INACTIVE", "ACTIVE"));
        log.flush();
        EXPECT_TRUE(log.historyRead());
        EXPECT_EQ(summaries(log.history()), (std::vector<std::string>{"3 INACTIVE>ACTIVE t"}));
        log.close();
        const auto events = eventline::parseAll(readText(folder.file("events.log")));
        ASSERT_EQ(events.size(), 2u);
        EXPECT_EQ(events[1].time, "2026-12-07 22:00:00.000 +01:00");
    }
    writeText(folder.file("not-a-folder"), "x");
    std::vector<std::string> reports;
    EventLog log(clock, wall, std::make_unique<EventLogFile>(folder.file("not-a-folder/events.log")),
                 [&reports](const std::string& message) { reports.push_back(message); });
    for (int unit = 1; unit <= 3; ++unit) {
        log.record(stateEvent(unit, "INACTIVE", "ACTIVE"));
        log.flush();
    }
    log.close();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("not-a-folder/events.log"), std::string::npos);
    EXPECT_TRUE(log.writeFailed());
    EXPECT_EQ(log.count(), 3u);
}

#ifndef _WIN32
// Exit does not wait on a disk that hangs: close() gives up after its time and the log
// can be destroyed at once, its writer left to end on its own. (The writer here is
// stuck opening a named pipe that no one reads yet.)
TEST(EventLogTest, CloseWaitsOnlyItsTimeForAWriterThatHangs)
{
    TempFolder folder;
    FakeClock clock;
    FakeWallClock wall;
    const std::string pipe = folder.file("events.log");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const auto started = std::chrono::steady_clock::now();
    {
        EventLog log(clock, wall, std::make_unique<EventLogFile>(pipe));
        log.record(stateEvent(1, "INACTIVE", "ACTIVE"));
        EXPECT_FALSE(log.close(100));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(EventLog::CloseWaitMs));
    // Let the writer go: the pipe now has a writer that leaves at once (the end of the
    // history), and then room for the writer's lines.
    const int unblock = ::open(pipe.c_str(), O_RDWR | O_NONBLOCK);
    ASSERT_GE(unblock, 0);
    ::close(unblock);
}

// A write cut short (here by the file size limit, as by a full disk) leaves part of a
// line; the next line still starts on a line of its own.
TEST(EventLogTest, AWriteCutShortKeepsTheLineBoundary)
{
    TempFolder folder;
    const std::string path = folder.file("events.log");
    const ChildResult child = runInChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        EventLogFile file(path);
        std::string out = file.append(eventline::toLine(stateEvent(1, "INACTIVE", "ACTIVE"))) ? "1" : "-";
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlim_t unlimited = limit.rlim_cur;
        limit.rlim_cur = static_cast<rlim_t>(std::filesystem::file_size(path) + 10);
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return std::string("cannot limit");
        out += file.append(eventline::toLine(stateEvent(2, "ACTIVE", "OFFLINE"))) ? "2" : "-";
        limit.rlim_cur = unlimited;
        setrlimit(RLIMIT_FSIZE, &limit);
        out += file.append(eventline::toLine(stateEvent(3, "INACTIVE", "ACTIVE"))) ? "3" : "-";
        return out;
    });
    ASSERT_TRUE(child.exitedNormally);
    EXPECT_EQ(child.output, "1-3");
    const auto fileLines = lines(readText(path));
    ASSERT_EQ(fileLines.size(), 4u); // the header, unit 1, ten bytes of unit 2, unit 3
    EXPECT_EQ(fileLines[2].size(), 10u);
    EXPECT_EQ(fileLines[3], eventline::toLine(stateEvent(3, "INACTIVE", "ACTIVE")));
    EXPECT_EQ(summaries(eventline::parseAll(readText(path))),
              (std::vector<std::string>{"1 INACTIVE>ACTIVE t", "3 INACTIVE>ACTIVE t"}));
}
#endif

namespace {

class RecorderTest : public ::testing::Test {
protected:
    FakeClock clock;
    FakeWallClock wall;
    FakeTimers timers{clock};
    ScriptedOperator op;
    RecordingDatagramSender sender;
    struct Events : NullUnitLinkEvents {
        UnitEventRecorder* recorder = nullptr;
        const UnitLink* link = nullptr;
        void unitStateChanged(int u) override { recorder->stateChanged(u, link->state(u)); }
        void unitGoneSilent(int u, std::uint32_t lastHeardMs) override { recorder->unitGoneSilent(u, lastHeardMs); }
    } events;
    ProjectPrefs prefs;
    UnitLink link{clock, timers, op, sender, events, prefs};
    EventLog log{clock, wall, nullptr};
    UnitEventRecorder recorder{link, clock, wall, log};

    void SetUp() override
    {
        events.recorder = &recorder;
        events.link = &link;
    }
    void receive(UnitPacketFields fields, int address)
    {
        const PacketBytes bytes = unitPacket(fields);
        link.handleDatagram(bytes.data(), bytes.size(), Ipv4Endpoint{(127u << 24) | std::uint32_t(address), 40000});
    }
    UnitPacketFields unit(int number, int macOf)
    {
        UnitPacketFields fields;
        fields.unitNumber = static_cast<std::uint8_t>(number);
        fields.mac = test::macOf(macOf);
        return fields;
    }
    void pass(std::uint32_t ms)
    {
        wall.advance(ms);
        timers.advance(ms);
    }
};

} // namespace

// What the link does becomes events with honest times and texts: the first packet's
// zero readings are no fault; an off-line unit is logged when found silent, with the
// time it was last heard, however long the operator leaves the message open.
TEST_F(RecorderTest, UnitChangesBecomeEvents)
{
    UnitPacketFields seven = unit(7, 7);
    seven.health = {0, 0, 0, 0, 0}; // a unit's readings before its second packet
    receive(seven, 7);
    seven.health = {96, 120, 50, 33, 40};
    receive(seven, 7);
    receive(seven, 7);
    pass(1000);
    receive(seven, 7); // last heard at 22:00:01.000
    UnitPacketFields hot = unit(9, 9);
    receive(hot, 9);
    hot.health[4] = 151;
    receive(hot, 9); // stored; judged with the next packet
    receive(hot, 9);
    hot.health[4] = 40;
    receive(hot, 9);
    receive(hot, 9);
    receive(unit(12, 9), 9); // unit 9 now reports number 12
    op.whileOpen = [&] { // the operator leaves the message open a minute
        wall.advance(60000);
        clock.advance(60000);
    };
    pass(10000);
    const auto events = log.eventsFrom(0);
    EXPECT_EQ(
        summaries(events),
        (std::vector<std::string>{"7 INACTIVE>ACTIVE taken on", "9 INACTIVE>ACTIVE taken on",
                                  "9 ACTIVE>FAULT reading out of range: Temperature = 151.0 degrees C",
                                  "9 FAULT>ACTIVE readings normal again", "9 ACTIVE>INACTIVE number no longer reported",
                                  "12 INACTIVE>ACTIVE renumbered from unit 9",
                                  "7 ACTIVE>OFFLINE gone off-line, last heard 2026-12-07 22:00:01.000 +01:00",
                                  "12 ACTIVE>OFFLINE gone off-line, last heard 2026-12-07 22:00:01.000 +01:00"}));
    EXPECT_EQ(events[0].mac, "0050C2100007");
    EXPECT_EQ(events[0].ip, "127.0.0.7");
    EXPECT_EQ(events[6].time, "2026-12-07 22:00:11.000 +01:00"); // found at the check, before the message
    EXPECT_EQ(link.state(7), UnitState::OFFLINE);
    recorder.hostPort(false, 2000, "Address already in use");
    recorder.programEnding();
    EXPECT_EQ(summaries(log.eventsFrom(8)),
              (std::vector<std::string>{"0 >PORT BUSY host port 2000 busy: Address already in use",
                                        "0 >EXIT DeskPanel ends"}));
}
