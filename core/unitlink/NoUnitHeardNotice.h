#pragma once
#include "core/host/Timers.h"
#include "core/unitlink/HostPortListener.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace deskpanel {

class UnitLink;

// Says so when the host port is bound but not a single unit packet has arrived
// NoticeAfterMs later. A firewall or a cable on the wrong network drops every unit's
// packets, and the unit boxes would otherwise just stay inactive without a word. The
// notice is given once and withdrawn when the first packet arrives; editing a show with
// no units is normal, so it is never a box. A port that cannot be bound has its own box,
// and the wait starts only once it is bound. UI thread only.
class NoUnitHeardNotice : public HostPortListener {
public:
    static constexpr std::uint32_t NoticeAfterMs = 10000;
    // The notice's text, or an empty one when it is withdrawn.
    using Listener = std::function<void(const std::string& notice)>;

    NoUnitHeardNotice(const UnitLink& link, Timers& timers);
    ~NoUnitHeardNotice() override;
    NoUnitHeardNotice(const NoUnitHeardNotice&) = delete;
    NoUnitHeardNotice& operator=(const NoUnitHeardNotice&) = delete;

    // Listeners are told in the order they were added; the answer identifies one for removal.
    int addListener(Listener listener);
    void removeListener(int id);
    // The notice standing now; empty while there is none.
    const std::string& notice() const { return m_notice; }
    // The link stopped: no notice comes any more.
    void stop();

    static std::string textFor(std::uint16_t port);

    // HostPortListener
    void hostPortBusy(std::uint16_t port) override;
    void hostPortBound(std::uint16_t port, bool wasBusy) override;
    void firstPacketArrived() override;

private:
    void onTimer();
    void tell(const std::string& notice);

    const UnitLink& m_link;
    Timers& m_timers;
    std::uint16_t m_port = 0;
    bool m_given = false; // once per run
    std::string m_notice;
    std::vector<std::pair<int, Listener>> m_listeners;
    int m_nextListener = 1;
};

} // namespace deskpanel
