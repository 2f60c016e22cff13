#include "app/AppLinkEvents.h"

#include "core/host/UnitSender.h"

namespace deskpanel {

void AppLinkEvents::saveUnitSettings(int unitNumber)
{
    if (!isValidUnitNumber(unitNumber))
        return;
    for (int input = 1; input <= ChannelsPerUnit; ++input) {
        ChannelSettings held = m_project.live[static_cast<std::size_t>(channelIndex(unitNumber, input))];
        held.linkActive = held.linkButton == 1 ? 1 : 0;
        m_held[static_cast<std::size_t>(input - 1)] = held;
    }
}

void AppLinkEvents::restoreUnitSettings(int unitNumber)
{
    if (!isValidUnitNumber(unitNumber) || m_sender == nullptr)
        return;
    for (int input = 1; input <= ChannelsPerUnit; ++input) {
        const ChannelSettings& held = m_held[static_cast<std::size_t>(input - 1)];
        m_project.live[static_cast<std::size_t>(channelIndex(unitNumber, input))] = held;
        m_sender->sendParameter("Pol", held.polarity, unitNumber, input);
        m_sender->sendParameter("Pad", held.pad, unitNumber, input);
        m_sender->sendParameter("48v", held.phantom48V, unitNumber, input);
        m_sender->sendParameter("Mute", held.mute, unitNumber, input);
        m_sender->sendParameter("Link", held.linkActive, unitNumber, input);
        m_sender->sendParameter("Gain", 80 - held.gainPosition, unitNumber, input);
    }
}

} // namespace deskpanel
