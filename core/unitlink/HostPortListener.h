#pragma once
#include <cstdint>
#include <string>

namespace deskpanel {

// Told about the unit link's host port, on the UI thread: an operator's record or the
// program's standard error follow it through these calls.
class HostPortListener {
public:
    virtual ~HostPortListener() = default;
    // Another program holds the port; the link tries again every UnitLink::BindRetryMs.
    virtual void hostPortBusy(std::uint16_t port) = 0;
    // The port is bound; `wasBusy` when earlier tries found it held.
    virtual void hostPortBound(std::uint16_t port, bool wasBusy) = 0;
    // A datagram to a unit could not be sent and no box says so (`why`: a remote message
    // caused it, or the error box is already open).
    virtual void sendFailedQuietly(const std::string& /*why*/) {}
    // The first unit packet of the run has arrived.
    virtual void firstPacketArrived() {}
};

} // namespace deskpanel
