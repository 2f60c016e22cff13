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
    case UnitState::CONFLICT:
    case UnitState::FAULT: return UnitPicture::Conflicted;
    case UnitState::INACTIVE:
    case UnitState::LOCAL: break;
    }
    return UnitPicture::Inactive;
}

} // namespace deskpanel
