#include "core/model/LinkedSet.h"

#include <algorithm>

namespace deskpanel {

LinkedSet LinkedSet::of(const ChannelSettingsArray& live, int channel)
{
    LinkedSet set;
    if (!isValidChannel(channel))
        return set;
    const ChannelSettings& self = live[static_cast<std::size_t>(channel)];
    if (self.linkGroup == 0 || self.linkButton != 1)
        return set;
    for (int k = 0; k < MaxChannels; ++k) {
        const ChannelSettings& member = live[static_cast<std::size_t>(k)];
        if (member.linkGroup != self.linkGroup || member.linkButton != 1)
            continue;
        if (set.members.empty()) {
            set.minPosition = set.maxPosition = member.gainPosition;
            set.minReference = set.maxReference = member.gainAux;
        } else {
            set.minPosition = std::min(set.minPosition, member.gainPosition);
            set.maxPosition = std::max(set.maxPosition, member.gainPosition);
            set.minReference = std::min(set.minReference, member.gainAux);
            set.maxReference = std::max(set.maxReference, member.gainAux);
        }
        set.members.push_back(k);
    }
    return set;
}

} // namespace deskpanel
