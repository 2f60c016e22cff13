#include "core/model/MeterPreferencesForm.h"

#include <algorithm>
#include <cstdlib>

namespace deskpanel {

namespace {

template <std::size_t N>
int listIndexFor(const std::array<const char*, N>& texts, int storedIndex, int storedValue, int defaultIndex)
{
    if (storedIndex >= 0 && storedIndex < static_cast<int>(N))
        return storedIndex;
    for (std::size_t i = 0; i < N; ++i) {
        if (std::atoi(texts[i]) == storedValue)
            return static_cast<int>(i);
    }
    return defaultIndex;
}

MeterPreferencesForm::HoldChoice holdChoiceOf(const ProjectPrefs& prefs)
{
    using Hold = MeterPreferencesForm::HoldChoice;
    // The order in which the radios are looked at when the dialog opens.
    if (prefs.peakHold10s != 0)
        return Hold::TenSeconds;
    if (prefs.peakHold3s != 0)
        return Hold::ThreeSeconds;
    if (prefs.peakHoldInfinite != 0)
        return Hold::Infinite;
    if (prefs.peakHoldOff != 0)
        return Hold::Off;
    switch (prefs.peakHoldMs) {
    case 10000: return Hold::TenSeconds;
    case -1: return Hold::Infinite;
    case 0: return Hold::Off;
    default: return Hold::ThreeSeconds;
    }
}

MeterPreferencesForm::DisplayChoice displayChoiceOf(const ProjectPrefs& prefs)
{
    using Display = MeterPreferencesForm::DisplayChoice;
    if (prefs.meterDisplay4 != 0)
        return Display::PeakOnly;
    if (prefs.meterDisplay3 != 0)
        return Display::VuOnly;
    if (prefs.meterDisplay1 != 0)
        return Display::PeakAndVu;
    return Display::PeakOverVu;
}

int holdMsOf(MeterPreferencesForm::HoldChoice hold)
{
    switch (hold) {
    case MeterPreferencesForm::HoldChoice::TenSeconds: return 10000;
    case MeterPreferencesForm::HoldChoice::Infinite: return -1;
    case MeterPreferencesForm::HoldChoice::Off: return 0;
    case MeterPreferencesForm::HoldChoice::ThreeSeconds: break;
    }
    return 3000;
}

} // namespace

MeterPreferencesForm MeterPreferencesForm::open(const ProjectPrefs& prefs)
{
    MeterPreferencesForm form;
    form.dbuMaxLevelIndex = listIndexFor(DbuMaxLevelTexts, prefs.dbuMaxLevelIndex, prefs.dbuMaxLevel, 0);
    form.dbfsReferenceIndex = listIndexFor(DbfsReferenceTexts, prefs.dbfsReferenceIndex, prefs.dbfsReference, 1);
    form.redZoneThreshold = std::clamp(prefs.redZoneThreshold, MinRedZoneThreshold, MaxRedZoneThreshold);
    form.dbuScale = prefs.meterScaleDbu == 1;
    form.hold = holdChoiceOf(prefs);
    form.display = displayChoiceOf(prefs);
    return form;
}

void MeterPreferencesForm::applyTo(ProjectPrefs& prefs) const
{
    prefs.peakHold10s = hold == HoldChoice::TenSeconds ? 1 : 0;
    prefs.peakHold3s = hold == HoldChoice::ThreeSeconds ? 1 : 0;
    prefs.peakHoldInfinite = hold == HoldChoice::Infinite ? 1 : 0;
    prefs.peakHoldOff = hold == HoldChoice::Off ? 1 : 0;
    prefs.peakHoldMs = holdMsOf(hold);

    prefs.redZoneThreshold = std::clamp(redZoneThreshold, MinRedZoneThreshold, MaxRedZoneThreshold);

    prefs.meterDisplay1 = display == DisplayChoice::PeakAndVu ? 1 : 0;
    prefs.meterDisplay2 = display == DisplayChoice::PeakOverVu ? 1 : 0;
    prefs.meterDisplay3 = display == DisplayChoice::VuOnly ? 1 : 0;
    prefs.meterDisplay4 = display == DisplayChoice::PeakOnly ? 1 : 0;

    const int dbuIndex = std::clamp(dbuMaxLevelIndex, 0, static_cast<int>(DbuMaxLevelTexts.size()) - 1);
    const int dbfsIndex = std::clamp(dbfsReferenceIndex, 0, static_cast<int>(DbfsReferenceTexts.size()) - 1);
    prefs.dbuMaxLevelIndex = dbuIndex;
    prefs.dbuMaxLevel = std::atoi(DbuMaxLevelTexts[static_cast<std::size_t>(dbuIndex)]);
    prefs.dbfsReferenceIndex = dbfsIndex;
    prefs.dbfsReference = std::atoi(DbfsReferenceTexts[static_cast<std::size_t>(dbfsIndex)]);

    prefs.meterConfirmedA = 1;
    prefs.meterConfirmedB = 1;

    prefs.meterScaleDbu = dbuScale ? 1 : 0;
    prefs.meterScaleDbfs = dbuScale ? 0 : 1;
}

} // namespace deskpanel
