#pragma once
#include "core/model/Limits.h"

#include <array>
#include <cstdint>

namespace deskpanel {

// Which input is joined to which link group: 384 x 10 flags. An input has at most one
// flag set. Groups are numbered 1..10 here as everywhere outside this class.
class LinkMembership {
public:
    using Table = std::array<std::array<std::uint8_t, MaxLinkGroups>, MaxChannels>;

    // False for a channel or group out of range.
    bool isMember(int channel, int group) const;
    // The group whose flag is set for the channel, or 0.
    int groupOf(int channel) const;
    bool hasMembers(int group) const;

    // Sets the channel's flag for the group and clears its other flags; group 0 clears
    // the row. Out-of-range arguments are ignored.
    void joinOnly(int channel, int group);
    void clearRow(int channel);
    void clearFlag(int channel, int group);
    void clearAll();

    const Table& table() const { return m_flags; }

private:
    Table m_flags{};
};

} // namespace deskpanel
