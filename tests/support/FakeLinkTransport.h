#pragma once
#include "core/unitlink/LinkTransport.h"

namespace deskpanel::test {

// A transport whose open() answers what the test prepared; it never receives anything by
// itself, so datagrams reach the link through handleDatagram().
class FakeLinkTransport : public LinkTransport {
public:
    OpenResult result;
    bool receiving = false;
    bool closed = false;
    OpenResult open() override { return result; }
    void startReceiving(Handler) override { receiving = true; }
    void close() override { closed = true; }
    bool send(const std::uint8_t*, std::size_t, const Ipv4Endpoint&) override { return true; }
};

} // namespace deskpanel::test
