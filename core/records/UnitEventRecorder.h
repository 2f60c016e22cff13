#pragma once
#include "core/host/Clock.h"
#include "core/host/WallClock.h"
#include "core/model/Limits.h"
#include "core/records/EventLog.h"
#include "core/unitlink/HostPortListener.h"
#include "core/unitlink/UnitLink.h"

#include <array>
#include <cstdint>
#include <string>

namespace deskpanel {

// Turns what the unit link tells into events of the log: every change of a unit
// number's state with the unit's MAC, address and a short text saying what happened,
// the host port's troubles, and the program's start and exit. UI thread only.
class UnitEventRecorder : public HostPortListener {
public:
    UnitEventRecorder(const UnitLink& link, const Clock& clock, const WallClock& wall, EventLog& log);

    // A unit number's state changed (the unit state listeners).
    void stateChanged(int unitNumber, UnitState state);
    // The off-line check found a unit silent: logged at once, with the time it was last
    // heard, and not again when its state turns OFFLINE after the operator's message.
    void unitGoneSilent(int unitNumber, std::uint32_t lastHeardMs);
    // The host port could not be bound (another program holds it), or now is.
    void hostPort(bool bound, std::uint16_t port, const std::string& detail);
    // HostPortListener: a port bound at the first try is the normal start, not an event.
    void hostPortBusy(std::uint16_t port) override { hostPort(false, port, "held by another program"); }
    void hostPortBound(std::uint16_t port, bool wasBusy) override
    {
        if (wasBusy)
            hostPort(true, port, {});
    }
    void sendFailedQuietly(const std::string& why) override;
    // The port is bound but no unit has been heard for a while (the notice's text).
    void noUnitHeard(const std::string& notice);
    void programStarted(const std::string& version);
    void programEnding();

private:
    void log(int unitNumber, UnitState oldState, const std::string& newState, const std::string& text);
    std::string textFor(int unitNumber, UnitState oldState, UnitState state) const;

    const UnitLink& m_link;
    const Clock& m_clock;
    const WallClock& m_wall;
    EventLog& m_log;
    // The state each number had when last logged, and the MAC it was last heard with.
    std::array<UnitState, MaxUnits + 1> m_known{};
    std::array<std::string, MaxUnits + 1> m_lastMac{};
};

} // namespace deskpanel
