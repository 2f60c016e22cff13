#pragma once
#include "core/model/PartialSettings.h"

#include <optional>
#include <string>
#include <string_view>

namespace deskpanel {

// The text line a copy of channel settings puts on the system clipboard, for a person to
// read and another program to parse:
//
//     DeskPanel channel: gain=42 pad=0 pol=1 phantom=1 mute=0
//
// The pairs may come in any order and any subset of them (at least one); gain is 8..80,
// the others 0 or 1. Blanks and tabs separate the pairs; blanks around the whole line and
// one line break after it do not count. Anything else (an unknown or repeated key, a value
// out of range, a second line) is not such a line.
namespace ClipboardLine {

constexpr const char* Prefix = "DeskPanel channel:";
constexpr const char* RefusalText = "The clipboard holds no DeskPanel channel settings.";
// No clipboard line is longer; a longer text is refused without being read.
constexpr std::size_t MaxChars = 256;

// The line of the settings that are given, in the order gain, pad, pol, phantom, mute.
std::string write(const PartialSettings& settings);
std::optional<PartialSettings> read(std::string_view text);

} // namespace ClipboardLine

} // namespace deskpanel
