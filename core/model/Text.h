#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace deskpanel {

// Texts are held whole in memory (UTF-8). Where one enters a 100-byte field it is cut
// to 99 characters, never in the middle of a character.
std::string cutToFieldChars(const std::string& utf8, std::size_t maxChars = 99);
// The number of characters of a UTF-8 text (not its bytes).
std::size_t characterCount(const std::string& utf8);
// The length (1..4) of the well-formed UTF-8 character at the start of `text`, or 0
// when it is not one (a stray continuation byte, an overlong form, a surrogate, a
// value beyond U+10FFFF, or a character cut short).
std::size_t utf8CharacterLength(std::string_view text);
// True when all of `text` is well-formed UTF-8 (each character as utf8CharacterLength reads it).
bool isUtf8(std::string_view text);
// Appends the UTF-8 form of a code point (at most U+10FFFF, not a surrogate).
void appendUtf8(std::string& out, char32_t codePoint);
// The text without the blanks and tabs at either end.
std::string trimmed(const std::string& text);

// printf-style formatting into a std::string.
std::string format(const char* fmt, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

} // namespace deskpanel
