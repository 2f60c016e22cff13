#pragma once
#include "core/host/Timers.h"
#include "core/model/Limits.h"
#include "core/model/MeterHold.h"
#include "core/model/MeterListener.h"
#include "core/model/MeterScale.h"
#include "core/model/ProjectPrefs.h"

#include <array>

namespace deskpanel {

// The meters of all 384 channels in both views. Each reading updates the shown view's
// meter at once (peak position, colour height, held peak, readout) and tells that view
// which meter to repaint. The hidden view's meters keep their state until shown again.
// The meter preferences are read at every reading, so a change applies from the next
// one on while held heights and readouts carry over.
class Metering {
public:
    static constexpr std::uint32_t ReadoutResetMs = 2000;

    Metering(const ProjectPrefs& prefs, Timers& timers);
    ~Metering();
    Metering(const Metering&) = delete;
    Metering& operator=(const Metering&) = delete;

    // A view registers itself; nullptr unregisters it.
    void setListener(MeterView view, MeterListener* listener);
    void setShownView(MeterView view) { m_shownView = view; }
    MeterView shownView() const { return m_shownView; }

    // One input's level from a unit's status packet. A channel outside 0..383 is dropped.
    void setLevel(int channel, int levelDb);
    // The last level a unit reported for the input, in whole dB within -127..127;
    // NoLevel while nothing feeds it (no reading yet, its unit gone or not active).
    static constexpr int NoLevel = -128;
    int levelDb(int channel) const;
    // A reading already placed on the scale (the simulation's).
    void showReading(int channel, const MeterReading& reading);

    // Nothing feeds these meters any more: in both views they become empty, without
    // held mark, "Ovr" or readout, at once. A unit number outside 1..48 is ignored.
    void clearUnit(int unitNumber);
    void clearAll();

    // A click on an underview readout: the readout starts again from 0 and the reset mark
    // replaces the number until the marks of all channels are removed 2 seconds later.
    void resetReadout(int channel);

    // The state of one meter; an empty meter for a channel outside 0..383.
    const MeterState& meter(MeterView view, int channel) const;
    const MeterHold& hold(MeterView view, int channel) const;

    MeterScale scale() const { return MeterScale::fromPrefs(m_prefs); }

private:
    struct Meter {
        MeterState state;
        MeterHold hold;
    };
    using ViewMeters = std::array<Meter, MaxChannels>;

    ViewMeters& metersOf(MeterView view) { return view == MeterView::Overview ? m_overview : m_underview; }
    const ViewMeters& metersOf(MeterView view) const { return view == MeterView::Overview ? m_overview : m_underview; }
    MeterListener* listenerOf(MeterView view) const
    {
        return view == MeterView::Overview ? m_overviewListener : m_underviewListener;
    }
    void clearResetMarks();
    void clearChannel(int channel);

    const ProjectPrefs& m_prefs;
    Timers& m_timers;
    MeterView m_shownView = MeterView::Underview;
    std::array<std::int8_t, MaxChannels> m_levelsDb = filledLevels();
    static std::array<std::int8_t, MaxChannels> filledLevels()
    {
        std::array<std::int8_t, MaxChannels> levels{};
        levels.fill(NoLevel);
        return levels;
    }
    MeterListener* m_overviewListener = nullptr;
    MeterListener* m_underviewListener = nullptr;
    ViewMeters m_overview{};
    ViewMeters m_underview{};
};

} // namespace deskpanel
