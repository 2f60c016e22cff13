#pragma once
#include "core/model/ChannelSettings.h"

#include <optional>

namespace deskpanel {

// The five settings a copy, a paste or a preset carries, each of them optional: a preset
// may leave a setting alone, and the paste dialog may leave one out. Gain is in dB
// (8..80), as the operator reads it; the switches are 0 or 1. Link group, name and notes
// are never part of it.
struct PartialSettings {
    std::optional<int> gainDb;
    std::optional<int> pad;
    std::optional<int> polarity;
    std::optional<int> phantom48V;
    std::optional<int> mute;

    // All five of a channel, its gain in dB as its strips show it.
    static PartialSettings of(const ChannelSettings& settings, bool reducedGainRange);

    bool empty() const { return !gainDb && !pad && !polarity && !phantom48V && !mute; }
    // Every value inside its range (gain 8..80, switches 0/1).
    bool valid() const;
    bool operator==(const PartialSettings&) const = default;
};

// Which of the five a paste takes (the paste dialog's boxes).
struct SettingsChoice {
    bool gain = true;
    bool pad = true;
    bool polarity = true;
    bool phantom48V = true;
    bool mute = true;

    // What of `settings` the choice lets through.
    PartialSettings applyTo(const PartialSettings& settings) const;
    bool operator==(const SettingsChoice&) const = default;
};

} // namespace deskpanel
