#include "core/model/UnitSettingsHolder.h"

namespace deskpanel {

UnitSettingsHolder::UnitSettingsHolder()
{
    // All zeros, not the channel defaults, until the first save.
    m_held.fill(ChannelSettings{0, 0, 0, 0, 0, 0, 0, 0, 0});
}

bool UnitSettingsHolder::save(const ChannelSettingsArray& live, int unitNumber)
{
    if (!isValidUnitNumber(unitNumber))
        return false;
    for (int input = 1; input <= ChannelsPerUnit; ++input) {
        ChannelSettings held = live[static_cast<std::size_t>(channelIndex(unitNumber, input))];
        held.linkActive = held.linkButton == 1 ? 1 : 0;
        m_held[static_cast<std::size_t>(input - 1)] = held;
    }
    m_hasSaved = true;
    return true;
}

} // namespace deskpanel
