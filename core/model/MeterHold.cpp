#include "core/model/MeterHold.h"

#include <algorithm>

namespace deskpanel {

namespace {

constexpr int DefaultUpdateRateMs = 100;

// The hold lengths the meters have always used, divided by the update rate in ms to
// give readings: three quarters of the nominal time, and 750000 for "Infinite".
constexpr int ThreeSecondHold = 2250;
constexpr int TenSecondHold = 7500;
constexpr int InfiniteHold = 750000;
constexpr int HoldOffReadings = 2;

int readingsOf(int holdLength, std::uint16_t updateRateMs)
{
    const int rate = updateRateMs == 0 ? DefaultUpdateRateMs : updateRateMs;
    return std::max(1, holdLength / rate);
}

} // namespace

int peakHeightPx(double peakSegment, double pixelsPerSegment)
{
    return static_cast<int>((20.0 - peakSegment) * pixelsPerSegment);
}

int underviewHoldPeriod(const ProjectPrefs& prefs)
{
    // Anything but the four known times (a damaged record) holds as "3 Sec".
    switch (prefs.peakHoldMs) {
    case 0: return HoldOffReadings;
    case -1: return readingsOf(InfiniteHold, prefs.ethernetUpdateRate);
    case 10000: return readingsOf(TenSecondHold, prefs.ethernetUpdateRate);
    default: return readingsOf(ThreeSecondHold, prefs.ethernetUpdateRate);
    }
}

int overviewHoldPeriod(const ProjectPrefs& prefs)
{
    return readingsOf(ThreeSecondHold, prefs.ethernetUpdateRate);
}

void MeterHold::apply(int heightPx, int holdPeriodReadings, int readoutCandidate, bool over)
{
    m_holdPeriodReadings = std::max(1, holdPeriodReadings);
    if (heightPx > m_heldHeightPx) {
        m_heldHeightPx = heightPx;
        m_peakReadout = std::max(m_peakReadout, readoutCandidate);
        if (over)
            m_peakReadout = OverReadout;
    }
    if (m_readingCount % static_cast<std::uint64_t>(m_holdPeriodReadings) == 0) {
        m_heldHeightPx = heightPx;
        m_peakReadout = over ? OverReadout : readoutCandidate;
    }
    ++m_readingCount;
}

} // namespace deskpanel
