#include "core/model/RecallSafes.h"

#include <algorithm>

namespace deskpanel {

SafeFlags RecallSafes::flags(int channel) const
{
    return isValidChannel(channel) ? m_flags[static_cast<std::size_t>(channel)] : 0;
}

void RecallSafes::set(int channel, SafeFlags flags)
{
    if (isValidChannel(channel))
        m_flags[static_cast<std::size_t>(channel)] = flags & AllSafeFlags;
}

void RecallSafes::set(int channel, SafeFlag flag, bool on)
{
    const SafeFlags bit = static_cast<SafeFlags>(flag);
    set(channel, on ? flags(channel) | bit : flags(channel) & ~bit);
}

bool RecallSafes::empty() const
{
    return safeChannelCount() == 0;
}

int RecallSafes::safeChannelCount() const
{
    return static_cast<int>(std::count_if(m_flags.begin(), m_flags.end(), [](SafeFlags f) { return f != 0; }));
}

ChannelSettings RecallSafes::keptOnRecall(SafeFlags f, const ChannelSettings& live, const ChannelSettings& target)
{
    ChannelSettings kept = target;
    if (hasFlag(f, SafeFlag::Gain)) {
        kept.gainPosition = live.gainPosition;
        kept.gainAux = live.gainPosition;
    }
    if (hasFlag(f, SafeFlag::Phantom48V))
        kept.phantom48V = live.phantom48V;
    if (hasFlag(f, SafeFlag::Pad))
        kept.pad = live.pad;
    if (hasFlag(f, SafeFlag::Polarity))
        kept.polarity = live.polarity;
    if (hasFlag(f, SafeFlag::Mute))
        kept.mute = live.mute;
    return kept;
}

void RecallSafes::keepStoredSafeSettings(ChannelSettingsArray& written, const ChannelSettingsArray& stored) const
{
    for (std::size_t c = 0; c < written.size(); ++c) {
        const SafeFlags f = m_flags[c];
        if (f == 0)
            continue;
        ChannelSettings& w = written[c];
        const ChannelSettings& s = stored[c];
        if (hasFlag(f, SafeFlag::Gain)) {
            w.gainPosition = s.gainPosition;
            w.gainAux = s.gainAux;
        }
        if (hasFlag(f, SafeFlag::Phantom48V))
            w.phantom48V = s.phantom48V;
        if (hasFlag(f, SafeFlag::Pad))
            w.pad = s.pad;
        if (hasFlag(f, SafeFlag::Polarity))
            w.polarity = s.polarity;
        if (hasFlag(f, SafeFlag::Mute))
            w.mute = s.mute;
    }
}

} // namespace deskpanel
