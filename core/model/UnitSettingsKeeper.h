#pragma once

namespace deskpanel {

// What the unit link asks of the model when a unit is newly found or changes its unit
// number: save the eight inputs of one unit number, then restore them (and send them)
// to a unit number.
class UnitSettingsKeeper {
public:
    virtual ~UnitSettingsKeeper() = default;
    virtual void saveUnitSettings(int unitNumber) = 0;
    virtual void restoreUnitSettings(int unitNumber) = 0;
};

} // namespace deskpanel
