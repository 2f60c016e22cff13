#pragma once
#include "core/model/ChannelSettings.h"
#include "core/model/Limits.h"

#include <array>
#include <cstdint>

namespace deskpanel {

// The settings of a channel that a recall may leave as they are live.
enum class SafeFlag : std::uint8_t {
    Gain = 1,
    Phantom48V = 2,
    Pad = 4,
    Polarity = 8,
    Mute = 16,
};
using SafeFlags = std::uint8_t;
constexpr SafeFlags AllSafeFlags = 31;
constexpr int SafeFlagCount = 5;
// The flags in the order the sidecar file and the matrix list them.
constexpr std::array<SafeFlag, SafeFlagCount> SafeFlagOrder{SafeFlag::Gain, SafeFlag::Phantom48V, SafeFlag::Pad,
                                                            SafeFlag::Polarity, SafeFlag::Mute};

constexpr bool hasFlag(SafeFlags flags, SafeFlag flag)
{
    return (flags & static_cast<SafeFlags>(flag)) != 0;
}

// Recall safes: per channel, the settings a scene recall leaves as they are live.
// Link groups and names are never safe. Resets at start-up, New Project and Open are
// not recalls and take no notice of them.
class RecallSafes {
public:
    SafeFlags flags(int channel) const;
    bool has(int channel, SafeFlag flag) const { return hasFlag(flags(channel), flag); }
    bool any(int channel) const { return flags(channel) != 0; }
    // Flags outside the five are dropped; a channel outside 0..383 is ignored.
    void set(int channel, SafeFlags flags);
    void set(int channel, SafeFlag flag, bool on);
    void clear() { m_flags.fill(0); }
    bool empty() const;
    int safeChannelCount() const;

    // What a recall that brings `target` leaves the channel with: each safe setting
    // stays as it is live. A gain-safe channel's link reference takes its kept position
    // too, so a linked move is reckoned from the gain it really has.
    static ChannelSettings keptOnRecall(SafeFlags safe, const ChannelSettings& live, const ChannelSettings& target);
    // The followed scene's snapshot after the live settings are written into it: a safe
    // setting keeps the value stored in the scene, so a recall never changes its scene.
    void keepStoredSafeSettings(ChannelSettingsArray& written, const ChannelSettingsArray& stored) const;

    bool operator==(const RecallSafes&) const = default;

private:
    std::array<SafeFlags, MaxChannels> m_flags{};
};

} // namespace deskpanel
