#pragma once
#include "core/unitlink/UnitState.h"

#include <string>

namespace deskpanel {

// What the Unit Status dialog shows for one unit number.
struct UnitStatusTexts {
    std::string status;
    std::string macLine;
    std::string ipLine;
};

// `record` is the unit's record, or nullptr when no present unit carries the number.
UnitStatusTexts unitStatusTexts(int unitNumber, const UnitSlot& slot, const UnitRecord* record);

// The four rows of the System Status dialog, true for "NORMAL".
struct SystemStatusVerdicts {
    bool temperature = true;
    bool voltages = true;
    bool networking = true;
    bool connections = true;
};
SystemStatusVerdicts systemStatusVerdicts(const UnitSlot& slot, bool conflictPending);

// The System Status list entry: " Unit %d  IP Address: %s  %s".
std::string systemStatusEntry(int unitNumber, const UnitSlot& slot);

} // namespace deskpanel
