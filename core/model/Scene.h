#pragma once
#include "core/model/ChannelSettings.h"

#include <array>
#include <string>

namespace deskpanel {

// A stored snapshot: the settings and the names of all channels when it was taken.
struct Scene {
    std::string name;
    std::string notes;
    ChannelSettingsArray settings{};
    std::array<std::string, MaxChannels> channelNames{};
};

} // namespace deskpanel
