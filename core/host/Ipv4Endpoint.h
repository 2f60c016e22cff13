#pragma once
#include <cstdint>
#include <string>

namespace deskpanel {

// An IPv4 address and port, both in host byte order.
struct Ipv4Endpoint {
    std::uint32_t address = 0;
    std::uint16_t port = 0;

    bool operator==(const Ipv4Endpoint&) const = default;
    auto operator<=>(const Ipv4Endpoint&) const = default;
};

// Dotted text, "127.0.0.5".
std::string ipv4Text(std::uint32_t address);
// Parses dotted text; false on anything else.
bool parseIpv4(const std::string& text, std::uint32_t& address);

} // namespace deskpanel
