#include "core/unitlink/UnitState.h"

namespace deskpanel {

const char* unitStateName(UnitState state)
{
    switch (state) {
    case UnitState::INACTIVE: return "INACTIVE";
    case UnitState::ACTIVE: return "ACTIVE";
    case UnitState::OFFLINE: return "OFFLINE";
    case UnitState::CONFLICT: return "CONFLICT";
    case UnitState::LOCAL: return "LOCAL";
    case UnitState::FAULT: return "FAULT";
    }
    return "";
}

UnitPicture pictureForState(UnitState state)
{
    switch (state) {
    case UnitState::ACTIVE: return UnitPicture::Active;
    case UnitState::OFFLINE: return UnitPicture::Offline;
    case UnitState::CONFLICT: return UnitPicture::Conflicted;
    // Supplies or temperature out of range: no address conflict to look for.
    case UnitState::FAULT: return UnitPicture::Fault;
    case UnitState::INACTIVE:
    case UnitState::LOCAL: break;
    }
    return UnitPicture::Inactive;
}

} // namespace deskpanel
