// The DNS-SD announcement of the remote endpoint: what it would say, and that a machine
// without Avahi's daemon gets nothing and no one is told.
#include "app/DnsSdAnnouncer.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace deskpanel {
namespace {

TEST(DnsSdAnnouncer, SaysWhatBrowsingClientsReadAndIsQuietWithoutTheDaemon)
{
    EXPECT_EQ(DnsSdAnnouncer::txtRecords(), (std::vector<std::string>{"txtvers=1", "version=1.0", "framing=none"}));
    EXPECT_STREQ(DnsSdAnnouncer::ServiceType, "_osc._udp");

    DnsSdAnnouncer announcer;
    const bool announced = announcer.announce("DeskPanel", 9000);
    if (!std::filesystem::exists("/run/avahi-daemon/socket")) {
        EXPECT_FALSE(announced) << "no daemon, nothing announced";
    }
    EXPECT_EQ(announcer.isAnnounced(), announced);
    announcer.withdraw();
    announcer.withdraw();
    EXPECT_FALSE(announcer.isAnnounced());
}

} // namespace
} // namespace deskpanel
