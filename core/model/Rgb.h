#pragma once
#include <cstdint>

namespace deskpanel {

// A colour as the meters use it: red, green and blue, 0..255 each.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    bool operator==(const Rgb&) const = default;
};

} // namespace deskpanel
