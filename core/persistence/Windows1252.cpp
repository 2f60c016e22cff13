#include "core/persistence/Windows1252.h"

#include "core/model/Text.h"

#include <algorithm>
#include <array>

namespace deskpanel {
namespace {

// Code points of the bytes 0x80..0x9F; the rest of the code page equals Latin-1.
// The undefined bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for themselves.
constexpr std::array<char32_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char toByte(char32_t codePoint)
{
    if (codePoint == 0)
        return '?';
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<char>(codePoint);
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == codePoint)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

bool isPrintableWindows1252(char32_t codePoint)
{
    if ((codePoint >= 0x20 && codePoint < 0x7F) || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return true;
    // The undefined bytes stand for themselves, below 0xA0: not printable.
    return codePoint > 0xFF && std::find(HighControls.begin(), HighControls.end(), codePoint) != HighControls.end();
}

std::string toWindows1252(const std::string& utf8)
{
    std::string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = s[i];
        std::size_t length = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            length = 1;
            cp = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            cp = lead & 0x07;
        }
        bool valid = length != 0 && i + length <= n;
        for (std::size_t k = 1; valid && k < length; ++k) {
            if ((s[i + k] & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are malformed too.
        if (valid && ((length == 3 && cp < 0x800) || (length == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                      (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        out += toByte(cp);
        i += length;
    }
    return out;
}

std::string fromWindows1252(const std::uint8_t* bytes, std::size_t size)
{
    std::string out;
    for (std::size_t i = 0; i < size && bytes[i] != 0; ++i) {
        const std::uint8_t b = bytes[i];
        if (b >= 0x80 && b < 0xA0)
            appendUtf8(out, HighControls[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

} // namespace deskpanel
