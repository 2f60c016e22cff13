#include "core/unitlink/NoUnitHeardNotice.h"

#include "core/model/Text.h"
#include "core/unitlink/UnitLink.h"

#include <algorithm>

namespace deskpanel {

NoUnitHeardNotice::NoUnitHeardNotice(const UnitLink& link, Timers& timers) : m_link(link), m_timers(timers)
{
    m_timers.setHandler(TimerId::NoUnitHeard, [this] { onTimer(); });
}

NoUnitHeardNotice::~NoUnitHeardNotice()
{
    m_timers.stop(TimerId::NoUnitHeard);
    m_timers.clearHandler(TimerId::NoUnitHeard);
}

int NoUnitHeardNotice::addListener(Listener listener)
{
    const int id = m_nextListener++;
    m_listeners.emplace_back(id, std::move(listener));
    return id;
}

void NoUnitHeardNotice::removeListener(int id)
{
    std::erase_if(m_listeners, [id](const auto& entry) { return entry.first == id; });
}

void NoUnitHeardNotice::stop()
{
    m_timers.stop(TimerId::NoUnitHeard);
}

std::string NoUnitHeardNotice::textFor(std::uint16_t port)
{
    return format("No unit has been heard on UDP port %u for %u s: check the network and the firewall",
                  static_cast<unsigned>(port), static_cast<unsigned>(NoticeAfterMs / 1000));
}

void NoUnitHeardNotice::hostPortBusy(std::uint16_t)
{
    // Nothing can arrive on a port another program holds; the bind box says why.
    m_timers.stop(TimerId::NoUnitHeard);
}

void NoUnitHeardNotice::hostPortBound(std::uint16_t port, bool)
{
    m_port = port;
    if (!m_given && m_link.rxCount() == 0)
        m_timers.start(TimerId::NoUnitHeard, NoticeAfterMs);
}

void NoUnitHeardNotice::firstPacketArrived()
{
    m_timers.stop(TimerId::NoUnitHeard);
    if (!m_notice.empty())
        tell({});
}

void NoUnitHeardNotice::onTimer()
{
    m_timers.stop(TimerId::NoUnitHeard); // once
    if (m_given || m_link.rxCount() != 0 || m_link.stopRequested())
        return;
    m_given = true;
    tell(textFor(m_port));
}

void NoUnitHeardNotice::tell(const std::string& notice)
{
    m_notice = notice;
    // A copy: a listener may remove itself.
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        if (listener)
            listener(notice);
}

} // namespace deskpanel
