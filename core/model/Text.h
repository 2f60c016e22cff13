#pragma once
#include <string>

namespace deskpanel {

// Texts are held whole in memory (UTF-8). Where one enters a 100-byte field it is cut
// to 99 characters, never in the middle of a character.
std::string cutToFieldChars(const std::string& utf8, std::size_t maxChars = 99);
// The number of characters of a UTF-8 text (not its bytes).
std::size_t characterCount(const std::string& utf8);
// The text without the blanks and tabs at either end.
std::string trimmed(const std::string& text);

// printf-style formatting into a std::string.
std::string format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

} // namespace deskpanel
