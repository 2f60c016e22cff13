#pragma once
#include "core/model/PartialSettings.h"

#include <string>

namespace deskpanel {

// The paste dialog's five boxes, remembered in the program's own profile (section
// "Paste Settings", keys Gain, Pad, Pol, 48V, Mute, 0 or 1). A box never stored, or
// stored as anything but "0", is ticked.
namespace PasteSettingsProfile {
constexpr const char* Section = "Paste Settings";

SettingsChoice read(const std::string& profilePath);
bool write(const std::string& profilePath, const SettingsChoice& choice);
} // namespace PasteSettingsProfile

} // namespace deskpanel
