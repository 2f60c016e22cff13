// A switch pressed on a strip reaches the unit: the view hands the press to the channel
// control, which sends the unit a parameter packet with the input's new switch bit.
// Loopback only; every wait is bounded.
#include "tests/support/PacketBuilder.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/ui/StripViewFixture.h"
#include "ui/controls/ToggleButton.h"
#include "ui/views/UnderviewWindow.h"

#include <QElapsedTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace deskpanel::test {
namespace {

constexpr std::uint32_t UnitAddress = (127u << 24) | 77u;

// A unit's socket on 127.0.0.77 that collects what the program sends it.
class FakeUnitSocket {
public:
    FakeUnitSocket()
    {
        m_fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_addr.s_addr = htonl(UnitAddress);
        socklen_t size = sizeof at;
        if (m_fd >= 0 && ::bind(m_fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&at), &size) == 0)
            m_port = ntohs(at.sin_port);
    }
    ~FakeUnitSocket()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    std::uint16_t port() const { return m_port; }

    // Every packet that arrives within `ms` while the UI thread runs.
    std::vector<PacketBytes> collect(int ms)
    {
        std::vector<PacketBytes> packets;
        QElapsedTimer elapsed;
        elapsed.start();
        while (elapsed.elapsed() < ms) {
            QApplication::processEvents();
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0)
                continue;
            PacketBytes bytes{};
            if (::recv(m_fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()))
                packets.push_back(bytes);
        }
        return packets;
    }

private:
    int m_fd = -1;
    std::uint16_t m_port = 0;
};

// The byte and bit of a switch of an input in a unit's image.
std::pair<std::size_t, std::uint8_t> switchBit(const char* name, int input)
{
    PacketBytes zero{};
    PacketBytes set{};
    applyParameter(zero, name, 0, input);
    applyParameter(set, name, 1, input);
    for (std::size_t i = 0; i < set.size(); ++i)
        if (set[i] != zero[i])
            return {i, static_cast<std::uint8_t>(set[i] ^ zero[i])};
    return {0, 0};
}

TEST(StripViewSend, PolPressedOnAStripIsSentToItsUnit)
{
    FakeUnitSocket unit;
    ASSERT_NE(unit.port(), 0);
    ScriptedOperator op;
    DeskPanelApp app(LinkPorts{0, unit.port()}, op);
    RecordingDialogLauncher dialogs;
    UnderviewWindow view(app, dialogs);
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(1012, 501);
    view.show();
    app.start();

    UnitPacketFields fields;
    fields.unitNumber = 1;
    fields.mac = macOf(1);
    const PacketBytes status = unitPacket(fields);
    app.link().handleDatagram(status.data(), status.size(), Ipv4Endpoint{UnitAddress, 40000});
    ASSERT_TRUE(app.link().isUnitPresent(1));
    unit.collect(300); // what the unit is sent on being found

    QTest::mouseClick(view.toggle(3, ToggleButton::Pol), Qt::LeftButton); // unit 1, input 4
    const std::vector<PacketBytes> sent = unit.collect(300);
    app.stop();

    ASSERT_FALSE(sent.empty());
    const auto [pol4, pol4Mask] = switchBit("Pol", 4);
    const auto [pol3, pol3Mask] = switchBit("Pol", 3);
    ASSERT_NE(pol4Mask, 0);
    EXPECT_NE(sent.front()[pol4] & pol4Mask, 0);
    EXPECT_EQ(sent.front()[pol3] & pol3Mask, 0);
}

} // namespace
} // namespace deskpanel::test
