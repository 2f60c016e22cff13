#pragma once
#include "core/unitlink/UnitLink.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/PacketBuilder.h"
#include "tests/support/RecordingDatagramSender.h"
#include "tests/support/RecordingLinkEvents.h"
#include "tests/support/ScriptedOperator.h"

#include <cstdint>

namespace deskpanel::test {

// A unit link in virtual time with a recording sender, recorded events and a scripted
// operator; packets reach it through receive().
struct UnitLinkRig {
    FakeClock clock;
    FakeTimers timers{clock};
    ScriptedOperator op;
    RecordingDatagramSender sender;
    RecordingLinkEvents events;
    ProjectPrefs prefs;
    UnitLink link{clock, timers, op, sender, events, prefs};

    // 127.0.0.<last>
    static std::uint32_t ip(int last) { return (127u << 24) | static_cast<std::uint32_t>(last); }

    void receive(const UnitPacketFields& fields, std::uint32_t from)
    {
        const PacketBytes bytes = unitPacket(fields);
        link.handleDatagram(bytes.data(), bytes.size(), Ipv4Endpoint{from, 40000});
    }
    // A unit with its own MAC and address, numbered `unit`.
    static UnitPacketFields unitFields(int unit)
    {
        UnitPacketFields fields;
        fields.unitNumber = static_cast<std::uint8_t>(unit);
        fields.mac = macOf(unit);
        return fields;
    }
    void discover(int unit) { receive(unitFields(unit), ip(unit)); }
};

} // namespace deskpanel::test
