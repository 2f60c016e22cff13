#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace deskpanel::json {

// Appends `text` as a JSON string in quotes: '"', '\' and control characters escaped
// (\u00XX), anything that is not UTF-8 replaced by U+FFFD, so the result is always
// valid JSON and valid UTF-8.
void appendString(std::string& out, std::string_view text);

} // namespace deskpanel::json
