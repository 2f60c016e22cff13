#include "core/model/LinkMembership.h"

namespace deskpanel {

namespace {
bool inRange(int channel, int group)
{
    return isValidChannel(channel) && group >= 1 && group <= MaxLinkGroups;
}
} // namespace

bool LinkMembership::isMember(int channel, int group) const
{
    if (!inRange(channel, group))
        return false;
    return m_flags[static_cast<std::size_t>(channel)][static_cast<std::size_t>(group - 1)] != 0;
}

int LinkMembership::groupOf(int channel) const
{
    for (int group = 1; group <= MaxLinkGroups; ++group)
        if (isMember(channel, group))
            return group;
    return 0;
}

bool LinkMembership::hasMembers(int group) const
{
    for (int c = 0; c < MaxChannels; ++c)
        if (isMember(c, group))
            return true;
    return false;
}

void LinkMembership::joinOnly(int channel, int group)
{
    if (!isValidChannel(channel) || group < 0 || group > MaxLinkGroups)
        return;
    clearRow(channel);
    if (group > 0)
        m_flags[static_cast<std::size_t>(channel)][static_cast<std::size_t>(group - 1)] = 1;
}

void LinkMembership::clearRow(int channel)
{
    if (isValidChannel(channel))
        m_flags[static_cast<std::size_t>(channel)].fill(0);
}

void LinkMembership::clearFlag(int channel, int group)
{
    if (inRange(channel, group))
        m_flags[static_cast<std::size_t>(channel)][static_cast<std::size_t>(group - 1)] = 0;
}

void LinkMembership::clearAll()
{
    for (auto& row : m_flags)
        row.fill(0);
}

} // namespace deskpanel
