#pragma once
#include "core/host/DatagramSender.h"

#include <array>
#include <vector>

namespace deskpanel::test {

// Records every datagram handed to the network, in order.
class RecordingDatagramSender : public DatagramSender {
public:
    struct Sent {
        std::vector<std::uint8_t> bytes;
        Ipv4Endpoint to;
    };

    bool send(const std::uint8_t* data, std::size_t size, const Ipv4Endpoint& to) override
    {
        if (failSockets)
            return false;
        sent.push_back({std::vector<std::uint8_t>(data, data + size), to});
        return true;
    }

    std::vector<Sent> sent;
    bool failSockets = false;
};

} // namespace deskpanel::test
