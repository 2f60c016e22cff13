#pragma once
#include "core/model/MeterScaleTable.h"

namespace deskpanel {

// The two strip views that draw meters; readings go to the one that is shown.
enum class MeterView {
    Overview,
    Underview
};

// Everything a view needs to draw one meter, as of its latest reading. The overview
// gets the whole segment only (fraction 0) and shows neither readout nor reset mark.
struct MeterState {
    SegmentPosition position; // peakSegment
    int vuHeight = 0; // 0..4095
    int heightPx = 0; // lit height: trunc((20 - peakSegment) x pixels per segment)
    int heldHeightPx = 0; // where the held-peak mark is drawn
    int peakReadout = 0; // underview: the number above the meter, OverReadout for "Ovr"
    bool resetMarkShown = false; // underview: the reset mark replaces the number
    // Cleared because nothing feeds it any more (its unit went off-line, local or away,
    // or the simulation stopped): an empty meter with no held mark and a blank readout
    // until its next reading.
    bool silent = false;

    bool operator==(const MeterState&) const = default;
};

// Implemented by each view. Called on the UI thread as readings arrive; a view only
// marks the meter for repainting and draws it when it paints.
class MeterListener {
public:
    virtual ~MeterListener() = default;
    // The meter of `channel` has a new reading or a new readout state.
    virtual void meterChanged(int channel, const MeterState& meter) = 0;
    // The reset marks of all channels are gone; each number returns with its next reading.
    virtual void readoutMarksCleared() = 0;
};

} // namespace deskpanel
