#pragma once
#include "core/host/DatagramSender.h"
#include "core/unitlink/UnitPacket.h"

#include <cstdint>
#include <functional>
#include <string>

namespace deskpanel {

// A datagram of exactly the packet size, taken by value from the receive thread.
struct Datagram {
    PacketBytes bytes{};
    Ipv4Endpoint from;
};

// The network side of the unit link: a receiving socket on the host port with its
// receive thread, and the sending of single datagrams.
class LinkTransport : public DatagramSender {
public:
    struct OpenResult {
        bool stackStarted = false; // the socket layer itself could be started
        bool localLookupOk = false;
        std::string localIpText;
        bool socketCreated = false;
        bool reuseAddressSet = false; // the address option (exclusive use on Windows) was taken
        bool bound = false;
        std::uint16_t port = 0; // the host port asked for, or the one bound
    };
    using Handler = std::function<void(const Datagram&)>;

    // Creates and binds the receiving socket.
    virtual OpenResult open() = 0;
    // Starts the receive thread. Each 97-byte datagram reaches `handler` on the UI thread,
    // and the receive thread waits until the handler has returned.
    virtual void startReceiving(Handler handler) = 0;
    // Stops receiving: returns once no thread of the transport runs any more.
    virtual void close() = 0;
};

} // namespace deskpanel
