// A switch pressed on a strip reaches the unit: the view hands the press to the channel
// control, which sends the unit a parameter packet with the input's new switch bit.
// Loopback only; every wait is bounded.
#include "tests/support/FakeUnitSocket.h"
#include "tests/support/PacketBuilder.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/ui/StripViewFixture.h"
#include "ui/controls/ToggleButton.h"
#include "ui/views/UnderviewWindow.h"

namespace deskpanel::test {
namespace {

constexpr std::uint32_t UnitAddress = (127u << 24) | 77u;

// Each switch pressed alone on a strip reaches its unit as its own bit of the input's
// switch byte, with bit 7 (set by the program), and no other input changes.
TEST(StripViewSend, EachSwitchPressedAloneSendsItsOwnBit)
{
    struct Case {
        const char* name;
        int kind;
        std::uint8_t switchByte; // bit 0 link, 1 48 V, 2 pad, 3 polarity, 4 mute
    };
    const Case cases[] = {
        {"Link", ToggleButton::Link, 0x81}, {"48v", ToggleButton::Phantom, 0x82}, {"Pad", ToggleButton::Pad, 0x84},
        {"Pol", ToggleButton::Pol, 0x88},   {"Mute", ToggleButton::Mute, 0x90},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeUnitSocket unit(UnitAddress);
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
        // On being found the unit is sent its eight inputs' six settings, every switch off.
        const std::vector<PacketBytes> found = unit.collect(48, 5000);
        ASSERT_EQ(found.size(), 48u);
        for (int input = 1; input <= 8; ++input)
            ASSERT_EQ(FakeUnitSocket::switchByte(found.back(), input), 0x80) << input;

        QTest::mouseClick(view.toggle(3, c.kind), Qt::LeftButton); // unit 1, input 4
        const std::vector<PacketBytes> sent = unit.collect(1, 5000);
        app.stop();

        ASSERT_EQ(sent.size(), 1u);
        for (int input = 1; input <= 8; ++input)
            EXPECT_EQ(FakeUnitSocket::switchByte(sent.front(), input), input == 4 ? c.switchByte : 0x80) << input;
    }
}

} // namespace
} // namespace deskpanel::test
