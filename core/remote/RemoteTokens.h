#pragma once
#include "core/host/Ipv4Endpoint.h"

#include <cstdint>
#include <map>
#include <random>
#include <string>

namespace deskpanel {

// The tokens that prove a subscriber receives what it asks for: a subscribe from an
// endpoint is first answered with a random token, and only a subscribe carrying it back
// starts the lease, so a forged source address cannot turn the whole-state burst
// against someone else. Per endpoint (the sender's address and the port its answers go
// to), valid ValidMs.
class RemoteTokens {
public:
    static constexpr std::uint32_t ValidMs = 30000;
    static constexpr std::size_t MaxKept = 256;

    RemoteTokens();

    // A new token for the endpoint: 16 lower-case hexadecimal digits.
    std::string issue(const Ipv4Endpoint& endpoint, std::uint32_t nowMs);
    // True when `token` is the endpoint's and still valid; it is used up then.
    bool take(const Ipv4Endpoint& endpoint, const std::string& token, std::uint32_t nowMs);

private:
    struct Issued {
        std::string token;
        std::uint32_t at = 0;
    };
    std::map<Ipv4Endpoint, Issued> m_issued;
    std::mt19937_64 m_random;
};

} // namespace deskpanel
