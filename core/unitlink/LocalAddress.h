#pragma once
#include <optional>
#include <string>

#ifndef _WIN32
struct ifaddrs;
#endif

namespace deskpanel {

// This computer's IPv4 address as dotted text, shown to the operator and kept by the
// unit link; nothing when the computer has no IPv4 address at all.
//
// On Linux the address comes from the network interfaces, not from resolving the host
// name, which fails on a machine renamed since its set-up and in minimal containers.
// Windows looks its host name up.
std::optional<std::string> localIpv4Address();

#ifndef _WIN32
// The choice made from the interface list: the first interface that is up, not a
// loopback and has an IPv4 address; a loopback one only when there is no other.
std::optional<std::string> chooseLocalIpv4Address(const ifaddrs* interfaces);
#endif

} // namespace deskpanel
