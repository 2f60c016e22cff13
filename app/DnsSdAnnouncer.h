#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace deskpanel {

// Announces the remote endpoint as "_osc._udp" over DNS-SD, so browsing OSC clients find
// it. On Linux through Avahi's client library, on Windows through dnsapi.dll's
// DnsServiceRegister (Windows 10 1809 and later); both are looked up at run time, and
// without them (or without Avahi's daemon) nothing is announced, quietly. Elsewhere
// nothing is announced.
class DnsSdAnnouncer {
public:
    static constexpr const char* ServiceType = "_osc._udp";

    DnsSdAnnouncer();
    ~DnsSdAnnouncer();
    DnsSdAnnouncer(const DnsSdAnnouncer&) = delete;
    DnsSdAnnouncer& operator=(const DnsSdAnnouncer&) = delete;

    // Replaces any earlier announcement; false when there is no one to announce to.
    bool announce(const std::string& name, std::uint16_t port);
    void withdraw();
    bool isAnnounced() const;

    // The TXT records of the announcement.
    static std::vector<std::string> txtRecords();

    struct Platform;

private:
    std::unique_ptr<Platform> m_platform;
};

} // namespace deskpanel
