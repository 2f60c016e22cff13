#pragma once
#include "app/DeskPanelApp.h"
#include "app/RemoteEndpoint.h"
#include "tests/app/RackProcess.h"
#include "tests/support/ScriptedOperator.h"

#include <string>

namespace deskpanel::test {

// DeskPanel's application with its remote endpoint, on ports of their own: the unit link
// on freshPorts(portOffset), the endpoint 20000 above the host port.
struct RemoteShell {
    explicit RemoteShell(int portOffset)
        : ports(freshPorts(portOffset)),
          remotePort(static_cast<std::uint16_t>(ports.hostPort + 20000)),
          app(ports, op),
          remote(app)
    {
        app.start();
    }
    ~RemoteShell() { app.stop(); }

    RemoteSettings on(const std::string& hosts = {}) const { return {true, remotePort, hosts, false}; }

    LinkPorts ports;
    std::uint16_t remotePort;
    ScriptedOperator op;
    DeskPanelApp app;
    RemoteEndpoint remote;
};

} // namespace deskpanel::test
