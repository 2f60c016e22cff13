#pragma once
#include "core/model/Limits.h"

#include <string>

namespace deskpanel {

// Under the reduced gain range no result goes above 69 dB and nothing moves a fader
// above position 11, the position of 69 dB.
constexpr int ReducedRangeCeilingDb = 69;
constexpr int ReducedRangeFloorPosition = 11;
constexpr int MinGainDb = 8;
constexpr int MaxGainDb = 80;

// Gain in dB of a fader position: 80 - position, limited to 8..80, and to at most 69
// under the reduced gain range.
int gainDb(int position, bool reducedGainRange = false);

// The highest-gain position a fader or key may reach: 0, or 11 under the reduced range.
constexpr int gainFloorPosition(bool reducedGainRange)
{
    return reducedGainRange ? ReducedRangeFloorPosition : 0;
}

// The two gain texts of a strip: "+ %d dB" (overview) and "+%d " (underview, with its
// trailing space). After a reset the strips read "+ 8 dB" and "+8" instead, until the
// gain is next changed.
std::string overviewGainText(int db);
std::string underviewGainText(int db);
inline constexpr const char* ResetOverviewGainText = "+ 8 dB";
inline constexpr const char* ResetUnderviewGainText = "+8";

} // namespace deskpanel
