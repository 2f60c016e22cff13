#pragma once
// Project file bytes built straight from the documented offsets, without the code under
// test, so the tests compare the writer with an independent picture of the format.
#include "core/model/Project.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace deskpanel::test {

inline void put32(std::vector<std::uint8_t>& b, std::size_t at, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(u >> (8 * i));
}

inline std::int32_t get32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(b[at + static_cast<std::size_t>(i)]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

// Plain-ASCII texts only: the test data keeps to them where it uses this builder.
inline void putAscii(std::vector<std::uint8_t>& b, std::size_t at, const std::string& s)
{
    const std::size_t n = s.size() < 99 ? s.size() : 99;
    std::memcpy(b.data() + at, s.data(), n);
}

inline std::vector<std::uint8_t> headerWithDefaultPrefs()
{
    std::vector<std::uint8_t> b(118, 0);
    std::memcpy(b.data(), "CONVERTED", 9); // byte 9 stays NUL
    const std::int32_t words[27] = {0, 0, 0, 0, 100, 1, 0,   1, 0, 0, 3000, 20, 0, 1,
                                    0, 0, 0, 0, 22,  1, -18, 1, 1, 0, 1,    10, 1};
    for (std::size_t w = 0; w < 27; ++w)
        put32(b, 10 + w * 4, words[w]);
    return b;
}

inline std::vector<std::uint8_t> recordOf(const Project& project, const Scene& scene, std::int32_t unitCount = 48)
{
    std::vector<std::uint8_t> b(222212, 0);
    put32(b, 0, unitCount);
    putAscii(b, 4, scene.name);
    putAscii(b, 104, scene.notes);
    for (std::size_t c = 0; c < 384; ++c) {
        const ChannelSettings& s = scene.settings[c];
        put32(b, 204 + c * 4, s.gainPosition);
        put32(b, 6604 + c * 4, s.polarity);
        put32(b, 9804 + c * 4, s.pad);
        put32(b, 13004 + c * 4, s.phantom48V);
        put32(b, 16204 + c * 4, s.mute);
        put32(b, 19404 + c * 4, s.linkButton);
        put32(b, 22604 + c * 4, s.linkGroup);
        put32(b, 25804 + c * 4, s.linkActive);
        put32(b, 29004 + c * 4, s.gainAux);
        putAscii(b, 32204 + c * 10, s.linkGroup == 0 ? "-" : std::to_string(s.linkGroup));
        putAscii(b, 40204 + c * 100, project.channels[c].name);
        putAscii(b, 120204 + c * 100, project.channels[c].notes);
    }
    for (std::size_t u = 0; u < 48; ++u) {
        putAscii(b, 200204 + u * 100, project.units[u].name);
        putAscii(b, 210204 + u * 100, project.units[u].notes);
    }
    for (std::size_t g = 0; g < 10; ++g) {
        putAscii(b, 220204 + g * 100, project.linkGroups[g].title);
        putAscii(b, 221204 + g * 100, project.linkGroups[g].notes);
    }
    return b;
}

inline void append(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& bytes)
{
    to.insert(to.end(), bytes.begin(), bytes.end());
}

} // namespace deskpanel::test
