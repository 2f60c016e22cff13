// The line that says no unit has been heard: given once, 10 s after the host port was
// bound with not a single unit packet, withdrawn by the first packet, never while the
// port is held by another program.
#include "core/unitlink/NoUnitHeardNotice.h"
#include "tests/support/FakeLinkTransport.h"
#include "tests/support/UnitLinkRig.h"

#include <gtest/gtest.h>

namespace deskpanel::test {
namespace {

const std::string Notice = "No unit has been heard on UDP port 2000 for 10 s: check the network and the firewall";

// A unit link on a fake transport with the notice listening to it.
struct Rig : UnitLinkRig {
    Rig()
    {
        link.addHostPortListener(&notice);
        notice.addListener([this](const std::string& text) { told.push_back(text); });
        transport.result = {true, true, "10.1.2.3", true, true, true, 2000};
    }
    ~Rig() { link.removeHostPortListener(&notice); }

    void receiveFromUnit(int unit) { receive(unitFields(unit), ip(7)); }

    NoUnitHeardNotice notice{link, timers};
    FakeLinkTransport transport;
    std::vector<std::string> told;
};

TEST(NoUnitHeardNotice, GivenOnceTenSecondsAfterTheBindAndWithdrawnByTheFirstPacket)
{
    Rig rig;
    rig.link.start(rig.transport);
    rig.timers.advance(9999);
    EXPECT_TRUE(rig.told.empty());
    rig.timers.advance(60001);
    EXPECT_EQ(rig.told, std::vector<std::string>{Notice}); // once
    const std::uint8_t noise[5] = {1, 2, 3, 4, 5}; // no unit's packet
    rig.link.handleDatagram(noise, sizeof noise, Ipv4Endpoint{UnitLinkRig::ip(9), 40000});
    rig.receiveFromUnit(3);
    rig.receiveFromUnit(3);
    EXPECT_EQ(rig.told, (std::vector<std::string>{Notice, ""}));
    EXPECT_TRUE(rig.op.shown.empty()); // never a box
}

TEST(NoUnitHeardNotice, NotGivenForAUnitHeardInTimeNorWhileAnotherProgramHoldsThePort)
{
    Rig heard;
    heard.link.start(heard.transport);
    heard.timers.advance(9900);
    heard.receiveFromUnit(1);
    heard.timers.advance(60000);
    EXPECT_TRUE(heard.told.empty());

    Rig busy;
    busy.transport.result.bound = false;
    busy.link.start(busy.transport);
    busy.timers.advance(30000); // the bind box says why, not this line
    EXPECT_TRUE(busy.told.empty());
    busy.transport.result.bound = true;
    busy.timers.advance(UnitLink::BindRetryMs + NoUnitHeardNotice::NoticeAfterMs - 1); // counted from the bind
    EXPECT_TRUE(busy.told.empty());
    busy.timers.advance(1);
    EXPECT_EQ(busy.told, std::vector<std::string>{Notice});
}

} // namespace
} // namespace deskpanel::test
