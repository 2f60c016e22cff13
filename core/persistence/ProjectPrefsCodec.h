#pragma once
#include "core/host/Timers.h"
#include "core/model/ProjectPrefs.h"
#include "core/persistence/ProjectFileLayout.h"

#include <array>
#include <cstdint>

namespace deskpanel {

using PrefsRecord = std::array<std::uint8_t, projectfile::PrefsBytes>;

// The 108-byte record from the settings: word 4 zero-extended from 16 bits, word 16 zero.
PrefsRecord buildProjectPrefs(const ProjectPrefs& prefs);

// The settings from a 108-byte record: word 4 as its low 16 bits, word 16 ignored.
ProjectPrefs parseProjectPrefs(const std::uint8_t* bytes);

// Applying a read record: the words become the settings, then the autosave timer is
// stopped (autosave off) or (re)started with its interval.
void applyProjectPrefs(const ProjectPrefs& read, ProjectPrefs& settings, Timers& timers);

// The autosave period for a minutes word. A file may carry any number there; the
// timer runs at least every minute and at most every hour, the range the Autosave
// dialog offers, so a bad word can neither spin the timer nor overflow it.
std::uint32_t autosavePeriodMs(std::int32_t autosaveMinutes);

} // namespace deskpanel
