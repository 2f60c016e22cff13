#pragma once
#include "core/unitlink/HostPortListener.h"

#include <ostream>

namespace deskpanel {

// Tells the program's standard error which host port another program held and when the
// link finally bound it, so whoever started the program can see why units came late.
class HostPortReport : public HostPortListener {
public:
    explicit HostPortReport(std::ostream& out) : m_out(out) {}

    void hostPortBusy(std::uint16_t port) override;
    void hostPortBound(std::uint16_t port, bool wasBusy) override;

private:
    std::ostream& m_out;
};

} // namespace deskpanel
