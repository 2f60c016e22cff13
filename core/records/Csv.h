#pragma once
#include <string>
#include <vector>

namespace deskpanel::csv {

// The bytes a UTF-8 file starts with so that spreadsheets take it as UTF-8.
inline constexpr const char* Utf8Bom = "\xEF\xBB\xBF";

// One text field as RFC 4180 writes it: quoted when it holds a comma, a quote or a line
// break (quotes doubled). A text a spreadsheet would take for a formula (starting with
// =, +, -, @, a tab or a carriage return) gets a leading apostrophe first.
std::string textField(const std::string& text);
// Fields joined by commas and ended with CRLF; each field as it is given (already
// made with textField where it is text).
std::string line(const std::vector<std::string>& fields);

} // namespace deskpanel::csv
