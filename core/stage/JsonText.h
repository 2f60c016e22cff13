#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace deskpanel::json {

// Appends `text` as a JSON string in quotes: '"', '\' and control characters escaped
// (\u00XX), anything that is not UTF-8 replaced by U+FFFD, so the result is always
// valid JSON and valid UTF-8.
void appendString(std::string& out, std::string_view text);

// The length (1..4) of the well-formed UTF-8 character at the start of `text`, or 0
// when it is not one (a stray continuation byte, an overlong form, a surrogate, a
// value beyond U+10FFFF, or a character cut short).
std::size_t utf8CharacterLength(std::string_view text);

// Appends the UTF-8 form of a code point (at most U+10FFFF, not a surrogate).
void appendUtf8(std::string& out, char32_t codePoint);

} // namespace deskpanel::json
