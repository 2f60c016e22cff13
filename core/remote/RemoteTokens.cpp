#include "core/remote/RemoteTokens.h"

#include <algorithm>
#include <cstdio>

namespace deskpanel {

RemoteTokens::RemoteTokens()
{
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    m_random.seed(seed);
}

std::string RemoteTokens::issue(const Ipv4Endpoint& endpoint, std::uint32_t nowMs)
{
    if (m_issued.size() >= MaxKept) {
        std::erase_if(m_issued, [nowMs](const auto& entry) { return nowMs - entry.second.at >= ValidMs; });
        if (m_issued.size() >= MaxKept) {
            const auto oldest =
                std::min_element(m_issued.begin(), m_issued.end(), [nowMs](const auto& a, const auto& b) {
                    return nowMs - a.second.at > nowMs - b.second.at;
                });
            m_issued.erase(oldest);
        }
    }
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(m_random()));
    m_issued[endpoint] = {text, nowMs};
    return text;
}

bool RemoteTokens::take(const Ipv4Endpoint& endpoint, const std::string& token, std::uint32_t nowMs)
{
    const auto found = m_issued.find(endpoint);
    if (found == m_issued.end() || nowMs - found->second.at >= ValidMs || found->second.token != token)
        return false;
    m_issued.erase(found);
    return true;
}

} // namespace deskpanel
