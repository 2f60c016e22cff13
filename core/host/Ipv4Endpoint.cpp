#include "core/host/Ipv4Endpoint.h"

#include <cstdio>

namespace deskpanel {

std::string ipv4Text(std::uint32_t address)
{
    char text[20];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xFFu, (address >> 16) & 0xFFu,
                  (address >> 8) & 0xFFu, address & 0xFFu);
    return text;
}

bool parseIpv4(const std::string& text, std::uint32_t& address)
{
    std::uint32_t result = 0;
    int parts = 0;
    std::size_t i = 0;
    while (parts < 4) {
        if (i >= text.size() || text[i] < '0' || text[i] > '9')
            return false;
        std::uint32_t part = 0;
        int digits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 4) {
            part = part * 10 + static_cast<std::uint32_t>(text[i] - '0');
            ++i;
            ++digits;
        }
        if (part > 255 || digits > 3)
            return false;
        result = (result << 8) | part;
        ++parts;
        if (parts < 4) {
            if (i >= text.size() || text[i] != '.')
                return false;
            ++i;
        }
    }
    if (i != text.size())
        return false;
    address = result;
    return true;
}

} // namespace deskpanel
