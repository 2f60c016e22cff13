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

namespace {
// Each safe setting of `from` into `into`.
void takeSafeSettings(SafeFlags f, ChannelSettings& into, const ChannelSettings& from)
{
    if (hasFlag(f, SafeFlag::Gain)) {
        into.gainPosition = from.gainPosition;
        into.gainAux = from.gainAux;
    }
    if (hasFlag(f, SafeFlag::Phantom48V))
        into.phantom48V = from.phantom48V;
    if (hasFlag(f, SafeFlag::Pad))
        into.pad = from.pad;
    if (hasFlag(f, SafeFlag::Polarity))
        into.polarity = from.polarity;
    if (hasFlag(f, SafeFlag::Mute))
        into.mute = from.mute;
}
} // namespace

ChannelSettings RecallSafes::keptOnRecall(SafeFlags f, const ChannelSettings& live, const ChannelSettings& target)
{
    ChannelSettings kept = target;
    takeSafeSettings(f, kept, live);
    if (hasFlag(f, SafeFlag::Gain))
        kept.gainAux = live.gainPosition; // the reference follows the gain it kept
    return kept;
}

void RecallSafes::keepStoredSafeSettings(ChannelSettingsArray& written, const ChannelSettingsArray& stored) const
{
    for (std::size_t c = 0; c < written.size(); ++c)
        takeSafeSettings(m_flags[c], written[c], stored[c]);
}

} // namespace deskpanel
