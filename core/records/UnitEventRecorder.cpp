#include "core/records/UnitEventRecorder.h"

#include "core/model/Text.h"
#include "core/unitlink/HealthCheck.h"

namespace deskpanel {

UnitEventRecorder::UnitEventRecorder(const UnitLink& link, const Clock& clock, const WallClock& wall, EventLog& log)
    : m_link(link), m_clock(clock), m_wall(wall), m_log(log)
{
    m_known.fill(UnitState::INACTIVE);
}

void UnitEventRecorder::stateChanged(int unitNumber, UnitState state)
{
    if (!isValidUnitNumber(unitNumber))
        return;
    const auto index = static_cast<std::size_t>(unitNumber);
    const UnitState oldState = m_known[index];
    if (oldState == state)
        return; // already logged (an off-line unit is logged when it is found silent)
    const std::string text = textFor(unitNumber, oldState, state);
    log(unitNumber, oldState, unitStateName(state), text);
    m_known[index] = state;
}

void UnitEventRecorder::unitGoneSilent(int unitNumber, std::uint32_t lastHeardMs)
{
    if (!isValidUnitNumber(unitNumber))
        return;
    const auto index = static_cast<std::size_t>(unitNumber);
    // The wall-clock time of the last packet: now, less the silence since.
    WallTime heard = m_wall.now();
    heard.msSinceEpoch -= static_cast<std::int64_t>(m_clock.nowMs() - lastHeardMs);
    log(unitNumber, m_known[index], unitStateName(UnitState::OFFLINE),
        "gone off-line, last heard " + wallTimeText(heard));
    m_known[index] = UnitState::OFFLINE;
}

void UnitEventRecorder::hostPort(bool bound, std::uint16_t port, const std::string& detail)
{
    std::string text = format(bound ? "host port %u bound" : "host port %u busy", static_cast<unsigned>(port));
    if (!detail.empty())
        text += ": " + detail;
    UnitEvent event;
    event.newState = bound ? eventkind::PortBound : eventkind::PortBusy;
    event.text = text;
    m_log.record(std::move(event));
}

void UnitEventRecorder::sendFailedQuietly(const std::string& why)
{
    UnitEvent event;
    event.newState = eventkind::SendFailed;
    event.text = "a datagram to a unit could not be sent, " + why;
    m_log.record(std::move(event));
}

void UnitEventRecorder::noUnitHeard(const std::string& notice)
{
    UnitEvent event;
    event.newState = eventkind::NoUnitHeard;
    event.text = notice;
    m_log.record(std::move(event));
}

void UnitEventRecorder::programStarted(const std::string& version)
{
    UnitEvent event;
    event.newState = eventkind::Start;
    event.text = "DeskPanel " + version + " started";
    m_log.record(std::move(event));
}

void UnitEventRecorder::programEnding()
{
    UnitEvent event;
    event.newState = eventkind::Exit;
    event.text = "DeskPanel ends";
    m_log.record(std::move(event));
}

void UnitEventRecorder::log(int unitNumber, UnitState oldState, const std::string& newState, const std::string& text)
{
    const auto index = static_cast<std::size_t>(unitNumber);
    UnitEvent event;
    event.unit = unitNumber;
    if (const auto record = m_link.table().findByNumber(unitNumber)) {
        event.mac = m_link.table().at(*record).macText();
        event.ip = m_link.table().at(*record).ipText();
        m_lastMac[index] = event.mac;
    } else {
        event.mac = m_lastMac[index];
        event.ip = m_link.slot(unitNumber).slotIpText;
    }
    event.oldState = unitStateName(oldState);
    event.newState = newState;
    event.text = text;
    m_log.record(std::move(event));
}

std::string UnitEventRecorder::textFor(int unitNumber, UnitState oldState, UnitState state) const
{
    const UnitSlot& slot = m_link.slot(unitNumber);
    switch (state) {
    case UnitState::ACTIVE:
        switch (oldState) {
        case UnitState::CONFLICT: return "conflict over";
        case UnitState::FAULT: return "readings normal again";
        case UnitState::LOCAL: return "back in remote mode";
        default: break;
        }
        // A unit that gave up another number a moment ago has been renumbered.
        if (const auto record = m_link.table().findByNumber(unitNumber)) {
            const std::string mac = m_link.table().at(*record).macText();
            for (int m = 1; m <= MaxUnits; ++m) {
                const auto other = static_cast<std::size_t>(m);
                if (m != unitNumber && m_known[other] == UnitState::INACTIVE && m_lastMac[other] == mac)
                    return format("renumbered from unit %d", m);
            }
        }
        return "taken on";
    case UnitState::OFFLINE: return "removed: another unit holds its number";
    case UnitState::CONFLICT:
        if (slot.ipConflict)
            return "a MAC seen at a known address (IP conflict)";
        return "another unit reports the same number";
    case UnitState::LOCAL: return "front-panel (LOCAL) mode";
    case UnitState::FAULT: return "reading out of range: " + abnormalReadingsText(slot.health);
    case UnitState::INACTIVE: return "number no longer reported";
    }
    return {};
}

} // namespace deskpanel
