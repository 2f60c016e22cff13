#include "core/model/Text.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace deskpanel {

std::string cutToFieldChars(const std::string& utf8, std::size_t maxChars)
{
    std::size_t chars = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        if (chars == maxChars)
            return utf8.substr(0, i);
        // Step over one character: a lead byte and its continuation bytes.
        ++i;
        while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0u) == 0x80u)
            ++i;
        ++chars;
    }
    return utf8;
}

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::size_t characterCount(const std::string& utf8)
{
    // Every byte but the continuation bytes starts a character.
    std::size_t chars = 0;
    for (const char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u)
            ++chars;
    return chars;
}

std::string format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string result;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
        result.assign(buffer.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    return result;
}

} // namespace deskpanel
