#pragma once
#include "core/remote/OscCodec.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace deskpanel {

// The Stage Remote's pages and DeskPanel exchange one JSON text frame per message,
// {"a": "<address>", "v": [arguments]}, carrying the OSC endpoint's addresses: JSON
// integers are 'i', other numbers 'f', strings 's', true and false 'T' and 'F'.
namespace stage {

constexpr std::size_t MaxMessageBytes = 64 * 1024;
constexpr std::size_t MaxAddressBytes = 256;
constexpr std::size_t MaxArguments = 64;
constexpr std::size_t MaxStringBytes = 1024;
constexpr const char* MetersAddress = "/deskpanel/meters";

} // namespace stage

// One message from a page, or nothing and the reason in `error`. The reader is strict:
// only the keys "a" (required) and "v" (optional), once each; arguments only numbers,
// strings, true and false; the limits above; valid UTF-8; nothing after the object.
std::optional<OscMessage> readStageMessage(std::string_view text, std::string& error);

// A message for a page. Floats are written so that they read back to the same value;
// a float that is not finite, and the OSC types JSON has no form for (nil, impulse,
// blob), are written as null. Bytes of a text that are not UTF-8 become U+FFFD.
std::string writeStageMessage(const OscMessage& message);

// The meter levels of channels `first`, `first` + 1, ... in one message:
// {"a":"/deskpanel/meters","v":[first,[l1,l2,...]]}.
std::string writeStageMeters(int first, const std::vector<int>& levels);

} // namespace deskpanel
