#pragma once

namespace deskpanel {

// The parts of a unit's block that both strip views draw from their layout tables: the
// header in three pieces and the edge on the block's right.
enum class UnitBlockPart {
    TopUnitLeft,
    UnitName,
    TopUnitRight,
    RightVertcialEdge,
    Count
};

} // namespace deskpanel
