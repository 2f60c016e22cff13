#pragma once
#include "core/host/Ipv4Endpoint.h"

#include <array>
#include <cstdint>

namespace deskpanel {

// Sends one datagram. Returns false only when no socket could be created for it; what
// happens to the datagram on the wire is not examined.
class DatagramSender {
public:
    virtual ~DatagramSender() = default;
    virtual bool send(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& to) = 0;
};

} // namespace deskpanel
