// Feeds arbitrary datagrams, senders and passing time to the unit link's handler.
// Input: records of [length byte][sender byte][time byte][length bytes of datagram].
// A length byte of 97 or above yields a whole packet, taken from the input and padded.
#include "core/unitlink/UnitLink.h"
#include "tests/support/FakeTimers.h"
#include "tests/support/RecordingDatagramSender.h"
#include "tests/support/ScriptedOperator.h"

#include <cstring>

using namespace deskpanel;

namespace {

class FuzzEvents : public NullUnitLinkEvents {
public:
    explicit FuzzEvents(UnitLink*& link) : m_link(link) {}
    void restoreUnitSettings(int unitNumber) override
    {
        // As the channel control does: a unit's eight inputs, every setting.
        for (int input = 1; input <= 8; ++input)
            for (const char* name : {"Pol", "Pad", "48v", "Mute", "Link", "Gain"})
                m_link->sendParameter(name, input, unitNumber, input);
    }

private:
    UnitLink*& m_link;
};

bool isOneOfTheSixStates(UnitState state)
{
    switch (state) {
    case UnitState::INACTIVE:
    case UnitState::ACTIVE:
    case UnitState::OFFLINE:
    case UnitState::CONFLICT:
    case UnitState::LOCAL:
    case UnitState::FAULT: return true;
    }
    return false;
}

// What must hold after any sequence of datagrams and time: the count of units lies
// between 0 and the number of records (a unit that moves to a new address takes the
// number it reports unchecked, so two records may carry one number and the numbers
// present be fewer), every number is in one of the six states, and every record was
// learned from a MAC that no other record carries (the table in ascending MAC order),
// under a unit number 1..48.
bool holdsItsInvariants(const UnitLink& link)
{
    for (int unit = 1; unit <= 48; ++unit)
        if (!isOneOfTheSixStates(link.state(unit)))
            return false;
    const UnitTable& table = link.table();
    if (link.unitCount() < 0 || link.unitCount() > static_cast<int>(table.size()))
        return false;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const UnitRecord& record = table.at(i);
        if (record.macText().size() != 12 || table.findByMac(record.mac) != i)
            return false;
        if (i > 0 && !(table.at(i - 1).mac < record.mac))
            return false;
        if (record.unitId < 1 || record.unitId > 48)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    test::FakeClock clock;
    test::FakeTimers timers(clock);
    test::ScriptedOperator op;
    test::RecordingDatagramSender sender;
    ProjectPrefs prefs;
    UnitLink* linkPointer = nullptr;
    FuzzEvents events(linkPointer);
    UnitLink link(clock, timers, op, sender, events, prefs);
    linkPointer = &link;
    timers.start(TimerId::Poll, UnitLink::PollPeriodMs);

    std::size_t at = 0;
    while (at + 3 <= size) {
        const std::size_t wanted = data[at];
        const std::uint32_t fromAddress = 0x7F000000u | data[at + 1];
        const std::uint32_t advanceMs = data[at + 2] * 40u;
        at += 3;
        std::uint8_t datagram[256] = {};
        const std::size_t length = wanted >= PacketSize ? PacketSize : wanted;
        const std::size_t available = std::min(length, size - at);
        std::memcpy(datagram, data + at, available);
        at += available;
        if (wanted >= PacketSize && available >= 4)
            std::memcpy(datagram, "VLTA", 4); // mostly well-formed, to reach deep states
        op.timedNoteOpen = false;
        link.handleDatagram(datagram, length, Ipv4Endpoint{fromAddress, 4000});
        timers.advance(advanceMs);
        if (data[at - 1] & 1)
            link.sendParameter("Gain", data[at - 1], data[at - 1] % 50, data[at - 1] % 10);
    }
    if (!holdsItsInvariants(link))
        __builtin_trap();
    return 0;
}
