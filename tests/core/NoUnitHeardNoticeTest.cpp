// The line that says no unit has been heard: given once, 10 s after the host port was
// bound with not a single unit packet, withdrawn by the first packet, never while the
// port is held by another program.
#include "core/unitlink/NoUnitHeardNotice.h"
#include "tests/support/FakeLinkTransport.h"
#include "tests/support/UnitLinkRig.h"

#include <gtest/gtest.h>

#include <functional>

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
    rig.timers.advance(1);
    EXPECT_EQ(rig.told, std::vector<std::string>{Notice});
    EXPECT_EQ(rig.notice.notice(), Notice);
    rig.timers.advance(60000);
    EXPECT_EQ(rig.told.size(), 1u); // once
    // Nothing but a unit's whole packet counts.
    const std::uint8_t noise[5] = {1, 2, 3, 4, 5};
    rig.link.handleDatagram(noise, sizeof noise, Ipv4Endpoint{(127u << 24) | 9u, 40000});
    EXPECT_EQ(rig.told.size(), 1u);
    rig.receiveFromUnit(3);
    EXPECT_EQ(rig.told, (std::vector<std::string>{Notice, ""}));
    EXPECT_TRUE(rig.notice.notice().empty());
    rig.receiveFromUnit(3);
    EXPECT_EQ(rig.told.size(), 2u);
    // No box: editing a show without units is normal.
    EXPECT_TRUE(rig.op.shown.empty());
}

TEST(NoUnitHeardNotice, NotGivenWhenAUnitIsHeardInTimeOrTheLinkStops)
{
    struct Case {
        const char* name;
        std::function<void(Rig&)> at9900ms;
    };
    const Case cases[] = {
        {"a unit heard", [](Rig& rig) { rig.receiveFromUnit(1); }},
        {"the link stopped",
         [](Rig& rig) {
             rig.link.stop();
             rig.notice.stop();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.link.start(rig.transport);
        rig.timers.advance(9900);
        c.at9900ms(rig);
        rig.timers.advance(60000);
        EXPECT_TRUE(rig.told.empty());
    }
}

TEST(NoUnitHeardNotice, WaitsWhileAnotherProgramHoldsThePortAndCountsFromTheBind)
{
    Rig rig;
    rig.transport.result.bound = false;
    rig.link.start(rig.transport);
    ASSERT_TRUE(rig.timers.isRunning(TimerId::BindRetry));
    rig.timers.advance(30000);
    EXPECT_TRUE(rig.told.empty()); // the bind box says why, not this line
    rig.transport.result.bound = true;
    rig.timers.advance(UnitLink::BindRetryMs); // bound on the next try
    ASSERT_FALSE(rig.timers.isRunning(TimerId::BindRetry));
    rig.timers.advance(NoUnitHeardNotice::NoticeAfterMs - 1);
    EXPECT_TRUE(rig.told.empty());
    rig.timers.advance(1);
    EXPECT_EQ(rig.told, std::vector<std::string>{Notice});
}

} // namespace
} // namespace deskpanel::test
