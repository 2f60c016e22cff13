#pragma once
#include "core/host/ChangeListDialog.h"
#include "core/records/PresetLibrary.h"

#include <string>
#include <vector>

namespace deskpanel {

// The preset library as CSV, in the channel sheet's format: UTF-8 with BOM, the columns
// "Preset", "Gain dB", "Pad", "Polarity", "48V", "Mute", switches "on" or "off", a blank
// field for a setting the preset leaves alone, the formula guard on the names (and an
// apostrophe more before a name that starts with one).
//
// The import reads what a spreadsheet saves (a comma or, as the header asks, a semicolon;
// RFC 4180 quotes), takes the guard's apostrophe off again, and refuses a line whose name
// the library cannot hold or whose value is out of range, never bending it; switches read
// "on"/"off" or 1/0. Columns other than "Preset" may be missing (left alone).
namespace PresetCsv {

std::string write(const PresetLibrary& library);

struct Refusal {
    int line = 0;
    std::string reason;
};
struct Import {
    std::string error; // non-empty: the file as a whole cannot be used
    std::vector<ChannelPreset> presets; // in file order; a later line of one name wins
    std::vector<Refusal> refusals;
};
Import read(const std::string& bytes);
Import readFile(const std::string& path);

// What the operator sees before the import: refusals first, then each preset new or replaced.
ChangeList preview(const Import& import, const PresetLibrary& library);
// The library with the imported presets put in (same name: replaced).
void apply(const Import& import, PresetLibrary& library);

} // namespace PresetCsv

} // namespace deskpanel
