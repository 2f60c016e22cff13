#include "core/model/Metering.h"

#include <algorithm>

namespace deskpanel {

Metering::Metering(const ProjectPrefs& prefs, Timers& timers) : m_prefs(prefs), m_timers(timers)
{
    m_timers.setHandler(TimerId::MeterReadoutReset, [this] { clearResetMarks(); });
}

Metering::~Metering()
{
    m_timers.stop(TimerId::MeterReadoutReset);
    m_timers.clearHandler(TimerId::MeterReadoutReset);
}

void Metering::setListener(MeterView view, MeterListener* listener)
{
    (view == MeterView::Overview ? m_overviewListener : m_underviewListener) = listener;
}

void Metering::setLevel(int channel, int levelDb)
{
    if (!isValidChannel(channel))
        return;
    m_levelsDb[static_cast<std::size_t>(channel)] = static_cast<std::int8_t>(std::clamp(levelDb, -127, 127));
    showReading(channel, MeterScale::fromPrefs(m_prefs).read(levelDb));
}

void Metering::showReading(int channel, const MeterReading& reading)
{
    if (!isValidChannel(channel))
        return;
    Meter& meter = metersOf(m_shownView)[static_cast<std::size_t>(channel)];
    MeterState& state = meter.state;
    state.silent = false;
    state.vuHeight = reading.vuHeight;
    if (m_shownView == MeterView::Underview) {
        state.position = reading.position;
        state.heightPx = peakHeightPx(state.position.peakSegment(), UnderviewPixelsPerSegment);
        meter.hold.apply(state.heightPx, underviewHoldPeriod(m_prefs), reading.readoutCandidate, reading.isOver());
        state.peakReadout = meter.hold.peakReadout();
    } else {
        state.position = SegmentPosition{reading.position.segment, 0.0};
        state.heightPx = peakHeightPx(state.position.peakSegment(), OverviewPixelsPerSegment);
        meter.hold.apply(state.heightPx, overviewHoldPeriod(m_prefs), reading.readoutCandidate, reading.isOver());
    }
    state.heldHeightPx = meter.hold.heldHeightPx();

    if (MeterListener* listener = listenerOf(m_shownView))
        listener->meterChanged(channel, state);
}

void Metering::clearUnit(int unitNumber)
{
    if (!isValidUnitNumber(unitNumber))
        return;
    for (int input = 1; input <= ChannelsPerUnit; ++input)
        clearChannel(channelIndex(unitNumber, input));
}

void Metering::clearAll()
{
    for (int channel = 0; channel < MaxChannels; ++channel)
        clearChannel(channel);
}

int Metering::levelDb(int channel) const
{
    return isValidChannel(channel) ? m_levelsDb[static_cast<std::size_t>(channel)] : NoLevel;
}

void Metering::clearChannel(int channel)
{
    m_levelsDb[static_cast<std::size_t>(channel)] = NoLevel;
    for (MeterView view : {MeterView::Overview, MeterView::Underview}) {
        Meter& meter = metersOf(view)[static_cast<std::size_t>(channel)];
        meter = Meter{};
        meter.state.silent = true;
        if (MeterListener* listener = listenerOf(view))
            listener->meterChanged(channel, meter.state);
    }
}

void Metering::resetReadout(int channel)
{
    if (!isValidChannel(channel))
        return;
    Meter& meter = m_underview[static_cast<std::size_t>(channel)];
    meter.hold.resetReadout();
    meter.state.peakReadout = 0;
    meter.state.resetMarkShown = true;
    // Restarting the timer on a second click keeps every mark for at least 2 seconds.
    m_timers.start(TimerId::MeterReadoutReset, ReadoutResetMs);
    if (m_underviewListener != nullptr)
        m_underviewListener->meterChanged(channel, meter.state);
}

void Metering::clearResetMarks()
{
    m_timers.stop(TimerId::MeterReadoutReset);
    for (Meter& meter : m_underview)
        meter.state.resetMarkShown = false;
    if (m_underviewListener != nullptr)
        m_underviewListener->readoutMarksCleared();
}

const MeterState& Metering::meter(MeterView view, int channel) const
{
    static const MeterState empty;
    if (!isValidChannel(channel))
        return empty;
    return metersOf(view)[static_cast<std::size_t>(channel)].state;
}

const MeterHold& Metering::hold(MeterView view, int channel) const
{
    static const MeterHold empty;
    if (!isValidChannel(channel))
        return empty;
    return metersOf(view)[static_cast<std::size_t>(channel)].hold;
}

} // namespace deskpanel
