#pragma once
#include "core/model/ProjectPrefs.h"

#include <cstdint>

namespace deskpanel {

// The readout value that stands for over; shown as "Ovr".
constexpr int OverReadout = 5000;

constexpr double UnderviewPixelsPerSegment = 8.35;
constexpr double OverviewPixelsPerSegment = 4.25;

// trunc((20 - peakSegment) x pixels per segment): the lit height of a meter.
int peakHeightPx(double peakSegment, double pixelsPerSegment);

// Hold periods in readings, with the Ethernet update rate as the reading interval. The
// underview follows the peak hold choice; the overview always holds for 3 seconds. A
// period is never below 1 reading, and a rate of 0 from a damaged record counts as the
// default 100 ms, so no setting can stop the hold from refreshing.
int underviewHoldPeriod(const ProjectPrefs& prefs);
int overviewHoldPeriod(const ProjectPrefs& prefs);

// The held peak of one meter in one view: the held height, the readings drawn so far
// and the readout above the meter (only the underview shows the readout).
class MeterHold {
public:
    // One reading drawn at `heightPx`. A higher peak raises the held height and the
    // readout at once; every `holdPeriodReadings` readings (counting the first as 0) the
    // held height and the readout are refreshed to the present reading. `over` is true
    // when the peak is at the top of the scale; the readout then becomes OverReadout.
    void apply(int heightPx, int holdPeriodReadings, int readoutCandidate, bool over);

    // A click on the readout: it starts again from 0.
    void resetReadout() { m_peakReadout = 0; }

    int heldHeightPx() const { return m_heldHeightPx; }
    int peakReadout() const { return m_peakReadout; }
    std::uint64_t readingCount() const { return m_readingCount; }
    int holdPeriodReadings() const { return m_holdPeriodReadings; }

private:
    int m_heldHeightPx = 0;
    int m_peakReadout = 0;
    std::uint64_t m_readingCount = 0;
    int m_holdPeriodReadings = 0;
};

} // namespace deskpanel
