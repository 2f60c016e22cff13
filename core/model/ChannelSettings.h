#pragma once
#include "core/model/Limits.h"

#include <array>
#include <cstdint>
#include <string>

namespace deskpanel {

// The settings of one input. Every field is a signed 32-bit integer because the project
// file stores them so.
struct ChannelSettings {
    std::int32_t gainPosition = MaxGainPosition; // 0..72; gain dB = 80 - position
    std::int32_t gainAux = 0; // link reference position
    std::int32_t polarity = 0;
    std::int32_t pad = 0;
    std::int32_t phantom48V = 0;
    std::int32_t mute = 0;
    std::int32_t linkButton = 0;
    std::int32_t linkGroup = 0; // 0 none, 1..10
    std::int32_t linkActive = 0;

    bool operator==(const ChannelSettings&) const = default;
};

using ChannelSettingsArray = std::array<ChannelSettings, MaxChannels>;

// The text the strip shows for a link group: "1".."10", or "-" for none.
std::string linkGroupLabel(std::int32_t linkGroup);

} // namespace deskpanel
