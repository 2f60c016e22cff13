#include "core/remote/RemoteSettings.h"
#include "core/persistence/IniFile.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace deskpanel::test {
namespace {

TEST(RemoteSettings, ReadWhatTheProfileHoldsAndKeepTheRestOfIt)
{
    TempFolder folder;
    const std::string profile = folder.file("DeskPanel.INI");
    EXPECT_EQ(RemoteSettings::read(profile), RemoteSettings{}) << "off, port 9000, loopback, no 48 V";

    ASSERT_TRUE(writeProfileString(profile, "Settings", "WindowPos", "kept"));
    const RemoteSettings on{true, 9100, "192.168.1.5, 10.0.0.7", true};
    ASSERT_TRUE(on.write(profile));
    EXPECT_EQ(RemoteSettings::read(profile), on);
    EXPECT_EQ(readProfileString(profile, "Settings", "WindowPos"), "kept");
    EXPECT_EQ(readProfileString(profile, "Remote Control", "Allowed Hosts"), "192.168.1.5, 10.0.0.7");

    const struct {
        const char* key;
        const char* value;
        RemoteSettings expected;
    } unreadable[] = {
        {"Port", "0", {true, 9000, "192.168.1.5, 10.0.0.7", true}},
        {"Port", "65536", {true, 9000, "192.168.1.5, 10.0.0.7", true}},
        {"Port", "90x", {true, 9000, "192.168.1.5, 10.0.0.7", true}},
        {"Allow Phantom", "2", {true, 9100, "192.168.1.5, 10.0.0.7", false}},
        // A host list that cannot be read never widens who is served: the endpoint stays off.
        {"Allowed Hosts", "192.168.1.5, printer", {false, 9100, "", true}},
        {"Enabled", "yes", {false, 9100, "192.168.1.5, 10.0.0.7", true}},
    };
    for (const auto& c : unreadable) {
        ASSERT_TRUE(on.write(profile));
        ASSERT_TRUE(writeProfileString(profile, RemoteSettings::Section, c.key, c.value));
        EXPECT_EQ(RemoteSettings::read(profile), c.expected) << c.key << "=" << c.value;
    }

    std::string error;
    EXPECT_EQ(parseAllowedHosts(" 127.0.0.1 ,10.1.2.3", error), (std::vector<std::uint32_t>{0x7F000001u, 0x0A010203u}));
    EXPECT_EQ(parseAllowedHosts("   ", error), std::vector<std::uint32_t>{});
    EXPECT_FALSE(parseAllowedHosts("10.1.2.3,", error));
    EXPECT_EQ(error, "\"\" is not an IPv4 address");
    EXPECT_FALSE(parseAllowedHosts("10.1.2.300", error));
    EXPECT_EQ(error, "\"10.1.2.300\" is not an IPv4 address");
}

} // namespace
} // namespace deskpanel::test
