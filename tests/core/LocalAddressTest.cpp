#include "core/unitlink/LocalAddress.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <deque>
#include <vector>

using namespace deskpanel;

namespace {

// An interface list as the system hands it out, built from a table.
class InterfaceList {
public:
    struct Interface {
        const char* name;
        int family;
        const char* address;
        unsigned flags;
    };

    explicit InterfaceList(const std::vector<Interface>& interfaces)
    {
        for (const Interface& i : interfaces) {
            sockaddr_in& address = m_addresses.emplace_back();
            address.sin_family = static_cast<sa_family_t>(i.family);
            inet_pton(AF_INET, i.address, &address.sin_addr);
            ifaddrs& entry = m_entries.emplace_back();
            entry.ifa_name = const_cast<char*>(i.name);
            entry.ifa_flags = i.flags;
            entry.ifa_addr = reinterpret_cast<sockaddr*>(&address);
        }
        for (std::size_t k = 0; k + 1 < m_entries.size(); ++k)
            m_entries[k].ifa_next = &m_entries[k + 1];
    }
    const ifaddrs* head() const { return m_entries.empty() ? nullptr : &m_entries.front(); }

private:
    std::deque<sockaddr_in> m_addresses;
    std::deque<ifaddrs> m_entries;
};

constexpr unsigned Up = IFF_UP;
constexpr unsigned UpLoopback = IFF_UP | IFF_LOOPBACK;

} // namespace

TEST(LocalAddress, TheFirstUpInterfaceThatIsNotALoopbackWinsAndLoopbackIsTheLastResort)
{
    struct Case {
        const char* what;
        std::vector<InterfaceList::Interface> interfaces;
        std::optional<std::string> chosen;
    };
    const std::vector<Case> cases = {
        {"loopback listed first",
         {{"lo", AF_INET, "127.0.0.1", UpLoopback}, {"eth0", AF_INET, "192.168.1.20", Up}},
         "192.168.1.20"},
        {"an interface that is down is passed over",
         {{"eth0", AF_INET, "10.0.0.5", 0}, {"eth1", AF_INET, "10.0.1.6", Up}, {"eth2", AF_INET, "10.0.2.7", Up}},
         "10.0.1.6"},
        {"IPv6 entries do not count",
         {{"eth0", AF_INET6, "0.0.0.0", Up}, {"lo", AF_INET, "127.0.0.1", UpLoopback}},
         "127.0.0.1"},
        {"only interfaces that are down", {{"eth0", AF_INET, "10.0.0.5", 0}}, std::nullopt},
        {"no interfaces at all", {}, std::nullopt},
    };
    for (const Case& c : cases) {
        const InterfaceList list(c.interfaces);
        EXPECT_EQ(chooseLocalIpv4Address(list.head()), c.chosen) << c.what;
    }
}

TEST(LocalAddress, ThisMachineHasOneWhateverItsHostName)
{
    // Every Linux machine the program runs on has at least its loopback interface up.
    const auto address = localIpv4Address();
    ASSERT_TRUE(address.has_value());
    EXPECT_NE(address->find('.'), std::string::npos);
}
