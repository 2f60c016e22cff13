#include "core/remote/RemoteSettings.h"

#include "core/host/Ipv4Endpoint.h"
#include "core/model/Text.h"
#include "core/persistence/IniFile.h"

#include <algorithm>

namespace deskpanel {

RemoteSettings RemoteSettings::read(const std::string& profile)
{
    const IniFile file = IniFile::load(profile);
    RemoteSettings settings;
    if (const auto enabled = profileNumber(file.value(Section, "Enabled")); enabled && (*enabled == 0 || *enabled == 1))
        settings.enabled = *enabled == 1;
    if (const auto port = profileNumber(file.value(Section, "Port")); port && *port >= 1 && *port <= 65535)
        settings.port = static_cast<std::uint16_t>(*port);
    if (const auto hosts = file.value(Section, "Allowed Hosts")) {
        std::string error;
        if (parseAllowedHosts(*hosts, error))
            settings.allowedHosts = trimmed(*hosts);
        else
            settings.enabled = false; // never serve a wider audience than the operator listed
    }
    if (const auto listen = file.value(Section, "Listen"); listen && listenAddress(trimmed(*listen), {}))
        settings.listen = trimmed(*listen);
    if (const auto phantom = profileNumber(file.value(Section, "Allow Phantom"));
        phantom && (*phantom == 0 || *phantom == 1))
        settings.allowPhantom = *phantom == 1;
    return settings;
}

bool RemoteSettings::write(const std::string& profile) const
{
    IniFile file = IniFile::load(profile);
    file.setValue(Section, "Enabled", enabled ? "1" : "0");
    file.setValue(Section, "Port", std::to_string(port));
    file.setValue(Section, "Allowed Hosts", allowedHosts);
    file.setValue(Section, "Allow Phantom", allowPhantom ? "1" : "0");
    file.setValue(Section, "Listen", listen);
    return file.save(profile);
}

std::optional<std::uint32_t> listenAddress(const std::string& listen, const std::vector<std::uint32_t>& hosts)
{
    constexpr std::uint32_t Loopback = 0x7F000001u;
    if (listen == "auto") {
        const bool allLoopback =
            std::all_of(hosts.begin(), hosts.end(), [](std::uint32_t host) { return (host >> 24) == 127; });
        return allLoopback ? Loopback : 0u;
    }
    if (listen == "loopback")
        return Loopback;
    if (listen == "all")
        return 0u;
    std::uint32_t address = 0;
    if (parseIpv4(listen, address))
        return address;
    return std::nullopt;
}

std::optional<std::vector<std::uint32_t>> parseAllowedHosts(const std::string& text, std::string& error)
{
    std::vector<std::uint32_t> hosts;
    if (trimmed(text).empty())
        return hosts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        const std::string entry =
            trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        std::uint32_t address = 0;
        if (!parseIpv4(entry, address)) {
            error = "\"" + entry + "\" is not an IPv4 address";
            return std::nullopt;
        }
        hosts.push_back(address);
        if (comma == std::string::npos)
            return hosts;
        start = comma + 1;
    }
}

} // namespace deskpanel
