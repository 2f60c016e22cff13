#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace deskpanel {

// Announces the remote endpoint as "_osc._udp" over DNS-SD, so browsing OSC clients find
// it. On Linux through Avahi's client library, looked up at run time: without the library
// or its daemon nothing is announced, quietly. Elsewhere nothing is announced.
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

    struct Avahi;

private:
    std::unique_ptr<Avahi> m_avahi;
};

} // namespace deskpanel
