// The Unit Status texts and System Status verdicts for each kind of unit number.
#include "core/unitlink/UnitStatusReport.h"

#include <gtest/gtest.h>

using namespace deskpanel;

namespace {

UnitHealth normalHealth()
{
    UnitHealth h;
    h.monitor48V = 48.0f;
    h.monitor24V = 24.0f;
    h.monitor5V = 5.0f;
    h.monitor3V3 = 3.3f;
    h.temperature = 40.0f;
    return h;
}

UnitSlot slotWith(UnitState state)
{
    UnitSlot slot;
    slot.state = state;
    slot.health = normalHealth();
    slot.hasReadings = true;
    return slot;
}

UnitRecord record()
{
    UnitRecord r;
    r.mac = {0x00, 0x50, 0xC2, 0x10, 0x0A, 0xFF};
    r.address.address = (192u << 24) | (168u << 16) | (1u << 8) | 23u;
    return r;
}

const char* const normalReadings = "\n48v Monitor = 48.0 volts\n24v Monitor = 24.0 volts\n 5v Monitor =  5.0 volts\n"
                                   "3.3v Monitor =  3.3 volts\nTemperature = 40.0 degrees C";

} // namespace

TEST(UnitStatusTexts, EachCase)
{
    const UnitRecord r = record();
    struct Case {
        const char* what;
        UnitSlot slot;
        bool hasRecord;
        std::string status;
    };
    UnitSlot ipConflict = slotWith(UnitState::CONFLICT);
    ipConflict.ipConflict = true;
    UnitSlot idConflictActive = slotWith(UnitState::ACTIVE);
    idConflictActive.idConflict = true;
    UnitSlot localMode = slotWith(UnitState::LOCAL);
    UnitSlot remoteNotActive = slotWith(UnitState::FAULT);
    remoteNotActive.modeByte = 1;
    UnitSlot remoteConflict = remoteNotActive;
    remoteConflict.idConflict = true;
    const Case cases[] = {
        {"inactive", slotWith(UnitState::INACTIVE), false, "Status of Unit 7\nUnit ID 7 is inactive."},
        {"active", slotWith(UnitState::ACTIVE), true,
         std::string("Status of Unit 7\nFUNCTIONING NORMALLY") + normalReadings},
        {"id conflict left over", idConflictActive, true,
         std::string("Status of Unit 7\nFUNCTIONING NORMALLY") + normalReadings},
        {"local", localMode, true, std::string("Status of Unit 7\nFUNCTIONING NORMALLY, LOCAL-MODE") + normalReadings},
        {"ip conflict, no record", ipConflict, false, "Status of Unit 7\nUnit ID 7 has a conflicted IP Address "},
        {"off-line", slotWith(UnitState::OFFLINE), false, "Status of Unit 7\nUnit ID 7 is off-line."},
        {"no record, no first text", slotWith(UnitState::ACTIVE), false,
         "Status of Unit 7\nUnit ID 7 is not reporting."},
        {"remote, not active, no first text", remoteNotActive, true, "Status of Unit 7\nUnit ID 7 is FAULT."},
        {"remote, not active, id conflict", remoteConflict, true,
         "Status of Unit 7\nUnit ID 7 has a conflict with another Unit"},
    };
    for (const Case& c : cases) {
        const UnitStatusTexts texts = unitStatusTexts(7, c.slot, c.hasRecord ? &r : nullptr);
        EXPECT_EQ(texts.status, c.status) << c.what;
        EXPECT_EQ(texts.macLine, c.hasRecord ? "Mac address = 0050C2100AFF" : "") << c.what;
        EXPECT_EQ(texts.ipLine, c.hasRecord ? "IP Address: 192.168.1.23" : "") << c.what;
    }
}

TEST(UnitStatusTexts, TheFirstReadingOutOfRangeIsMarked)
{
    const UnitRecord r = record();
    struct Case {
        float UnitHealth::*field;
        float value;
        std::string markedLine;
    };
    const Case cases[] = {{&UnitHealth::monitor48V, 45.5f, "\n*** 48v Monitor = 45.5 volts\n"},
                          {&UnitHealth::monitor5V, 7.5f, "\n *** 5v Monitor =  7.5 volts\n"},
                          {&UnitHealth::monitor3V3, 0.5f, "\n*** 3.3v Monitor =  0.5 volts\n"},
                          {&UnitHealth::temperature, 151.0f, "\n*** Temperature = 151.0 degrees C"}};
    for (const Case& c : cases) {
        UnitSlot slot = slotWith(UnitState::FAULT);
        slot.health.*c.field = c.value;
        const std::string status = unitStatusTexts(3, slot, &r).status;
        EXPECT_EQ(status.rfind("Status of Unit 3\nABNORMAL POWER OR TEMPERATURE\n", 0), 0u) << status;
        EXPECT_NE(status.find(c.markedLine), std::string::npos) << status;
        EXPECT_EQ(status.find("***"), status.rfind("***")) << "one mark only";
    }
    // 24 V and the temperature both out: only the 24 V line is marked.
    UnitSlot both = slotWith(UnitState::FAULT);
    both.health.monitor24V = 30.0f;
    both.health.temperature = 0.0f;
    const std::string status = unitStatusTexts(3, both, &r).status;
    EXPECT_NE(status.find("\n*** 24v Monitor = 30.0 volts\n"), std::string::npos);
    EXPECT_EQ(status.find("*** Temperature"), std::string::npos);
}

TEST(SystemStatus, VerdictsAndEntry)
{
    UnitSlot slot = slotWith(UnitState::ACTIVE);
    slot.slotIpText = "127.0.0.5";
    EXPECT_EQ(systemStatusEntry(5, slot), " Unit 5  IP Address: 127.0.0.5  ACTIVE");
    SystemStatusVerdicts v = systemStatusVerdicts(slot, false);
    EXPECT_TRUE(v.temperature && v.voltages && v.networking && v.connections);
    slot.health.temperature = 0.0f;
    slot.health.monitor5V = 3.9f;
    slot.ipConflict = true;
    v = systemStatusVerdicts(slot, true);
    EXPECT_FALSE(v.temperature || v.voltages || v.networking || v.connections);
}
