#pragma once
#include "core/model/ProjectPrefs.h"

#include <array>

namespace deskpanel {

// The Meter Preferences dialog without its widgets: what it shows when it opens, and
// what OK writes back. Cancel simply drops the form. The dialog widget binds its
// controls to these members.
struct MeterPreferencesForm {
    enum class HoldChoice {
        ThreeSeconds,
        TenSeconds,
        Infinite,
        Off
    };
    enum class DisplayChoice {
        PeakOnly,
        VuOnly,
        PeakAndVu,
        PeakOverVu
    };

    static constexpr std::array<const char*, 5> DbuMaxLevelTexts{"22", "18", "15", "12", "9"};
    static constexpr std::array<const char*, 3> DbfsReferenceTexts{"-15", "-18", "-20"};
    static constexpr int MinRedZoneThreshold = 4;
    static constexpr int MaxRedZoneThreshold = 22;

    bool dbuScale = false; // the "dBU" radio; otherwise "dBFS"
    int dbuMaxLevelIndex = 0;
    int dbfsReferenceIndex = 1;
    HoldChoice hold = HoldChoice::ThreeSeconds;
    DisplayChoice display = DisplayChoice::PeakOverVu;
    int redZoneThreshold = 20; // the up-down control, 4..22

    // Opening: the list selections, the up-down position and the first set radio of
    // each group. Values a damaged record could hold are brought onto the controls:
    // a list index out of range selects the entry of the stored value (or the
    // default), a threshold is clamped to 4..22, and a group with no flag set shows
    // the choice of peakHoldMs (holds) or the default (display).
    static MeterPreferencesForm open(const ProjectPrefs& prefs);

    // OK: writes the hold flags and peakHoldMs, the threshold, the display flags, the
    // list values with their indexes, the two confirmation words and the scale words.
    void applyTo(ProjectPrefs& prefs) const;

    bool operator==(const MeterPreferencesForm&) const = default;
};

} // namespace deskpanel
