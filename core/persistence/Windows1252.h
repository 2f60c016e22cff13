#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace deskpanel {

// Project files hold texts in Windows-1252, one byte per character; memory holds UTF-8.

// UTF-8 to Windows-1252. A character the code page cannot show, and every byte of
// malformed UTF-8, becomes "?". NUL characters become "?" too, so that a text never
// ends early in its field.
std::string toWindows1252(const std::string& utf8);

// True for a character the code page holds and shows: its printable characters, without
// the control characters and the five bytes it leaves undefined.
bool isPrintableWindows1252(char32_t codePoint);

// Windows-1252 bytes to UTF-8, stopping at the first NUL or after `size` bytes. The
// five bytes the code page leaves undefined map to the control characters of the same
// value, so that they come back unchanged when written again.
std::string fromWindows1252(const std::uint8_t* bytes, std::size_t size);

} // namespace deskpanel
