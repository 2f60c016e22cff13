#include "core/model/PhantomRule.h"

namespace deskpanel {

bool switchesPhantomOn(const ChannelSettings& live, const ChannelSettings& target, SafeFlags kept)
{
    return live.phantom48V == 0 && target.phantom48V != 0 && !hasFlag(kept, SafeFlag::Phantom48V);
}

std::vector<int> phantomSwitchedOnBy(const ChannelSettingsArray& live, const ChannelSettingsArray& target,
                                     const RecallSafes& kept)
{
    std::vector<int> channels;
    for (int c = 0; c < MaxChannels; ++c) {
        const auto index = static_cast<std::size_t>(c);
        if (switchesPhantomOn(live[index], target[index], kept.flags(c)))
            channels.push_back(c);
    }
    return channels;
}

} // namespace deskpanel
