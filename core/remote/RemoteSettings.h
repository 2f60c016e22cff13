#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace deskpanel {

// The remote control's settings, section "Remote Control" of the program's profile
// (DeskPanel.INI): off, port 9000, no hosts listed (loopback only), no 48 V from remote.
struct RemoteSettings {
    static constexpr const char* Section = "Remote Control";
    static constexpr std::uint16_t DefaultPort = 9000;

    bool enabled = false;
    std::uint16_t port = DefaultPort;
    std::string allowedHosts; // blank, or IPv4 addresses separated by commas
    bool allowPhantom = false;
    // Key "Listen": "auto" (loopback while every listed host is this machine, else all
    // interfaces), "loopback", "all", or one IPv4 address of this machine.
    std::string listen = "auto";

    bool operator==(const RemoteSettings&) const = default;

    // A value the file holds that cannot be read keeps its default.
    static RemoteSettings read(const std::string& profile);
    // False when the profile could not be written.
    bool write(const std::string& profile) const;
};

// The address to bind for `listen` and the hosts listed; nothing when `listen` is not one
// of its forms.
std::optional<std::uint32_t> listenAddress(const std::string& listen, const std::vector<std::uint32_t>& hosts);

// The addresses of an "Allowed hosts" text, in order; nothing when any entry is not an
// IPv4 address (the entry is named in `error`). Blanks around entries do not count.
std::optional<std::vector<std::uint32_t>> parseAllowedHosts(const std::string& text, std::string& error);

} // namespace deskpanel
