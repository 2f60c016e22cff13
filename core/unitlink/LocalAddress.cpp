#include "core/unitlink/LocalAddress.h"

#include "core/host/Ipv4Endpoint.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#endif

namespace deskpanel {

#ifdef _WIN32

// The first IPv4 address of this computer, looked up by its host name.
std::optional<std::string> localIpv4Address()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return std::nullopt;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    const auto* address = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    std::string text = ipv4Text(ntohl(address->sin_addr.s_addr));
    freeaddrinfo(found);
    return text;
}

#else

std::optional<std::string> chooseLocalIpv4Address(const ifaddrs* interfaces)
{
    std::optional<std::string> loopback;
    for (const ifaddrs* i = interfaces; i != nullptr; i = i->ifa_next) {
        if (i->ifa_addr == nullptr || i->ifa_addr->sa_family != AF_INET || (i->ifa_flags & IFF_UP) == 0)
            continue;
        const auto* address = reinterpret_cast<const sockaddr_in*>(i->ifa_addr);
        std::string text = ipv4Text(ntohl(address->sin_addr.s_addr));
        if ((i->ifa_flags & IFF_LOOPBACK) == 0)
            return text;
        if (!loopback)
            loopback = std::move(text);
    }
    return loopback;
}

std::optional<std::string> localIpv4Address()
{
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return std::nullopt;
    std::optional<std::string> chosen = chooseLocalIpv4Address(interfaces);
    ::freeifaddrs(interfaces);
    return chosen;
}

#endif

} // namespace deskpanel
