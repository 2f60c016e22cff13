#include "core/model/LinkGroupControl.h"

#include "core/host/UnitSender.h"
#include "core/model/ChannelListener.h"
#include "core/model/ChannelStripDialogs.h"
#include "core/model/LinkedSet.h"
#include "core/model/Project.h"
#include "core/model/Text.h"
#include "core/model/UndoHistory.h"

namespace deskpanel {

namespace {
bool isValidGroup(int group)
{
    return group >= 1 && group <= MaxLinkGroups;
}
} // namespace

LinkGroupControl::LinkGroupControl(Project& project, UnitSender& units, UndoHistory& undo,
                                   const ChannelListenerList& listeners)
    : m_project(project), m_units(units), m_undo(undo), m_listeners(listeners)
{}

void LinkGroupControl::sendLink(int channel, int value)
{
    const int unit = unitOfChannel(channel);
    if (m_units.unitCount() > 0 && m_units.isUnitPresent(unit))
        m_units.sendParameter("Link", value, unit, inputOfChannel(channel));
}

void LinkGroupControl::joinLinkGroup(int channel, int group)
{
    if (!isValidChannel(channel) || !isValidGroup(group))
        return;
    ChannelSettings& settings = m_project.live[static_cast<std::size_t>(channel)];
    settings.linkGroup = group;
    if (settings.linkActive == 1)
        settings.linkButton = 1;
    settings.gainAux = settings.gainPosition;
    m_listeners.channelChanged(channel, ChannelAspect::LinkGroup);
    m_listeners.channelChanged(channel, ChannelAspect::Switches);
    // The unit gets the Link state the switch now shows. A member whose link is not
    // engaged stays unlit through a rebuild, and its unit must not be told otherwise.
    sendLink(channel, settings.linkButton == 1 ? 1 : 0);
    if (m_project.prefs.muteLinkedChannels != 0 && !LinkedSet::of(m_project.live, channel).empty())
        matchMute(channel);
    m_membership.joinOnly(channel, group);
    m_undo.record(channel, UndoKind::LinkButton, 1);
}

void LinkGroupControl::leaveLinkGroup(int channel)
{
    if (!isValidChannel(channel))
        return;
    ChannelSettings& settings = m_project.live[static_cast<std::size_t>(channel)];
    settings.linkGroup = 0;
    settings.linkButton = 0;
    settings.gainAux = settings.gainPosition;
    m_listeners.channelChanged(channel, ChannelAspect::LinkGroup);
    m_listeners.channelChanged(channel, ChannelAspect::Switches);
    sendLink(channel, 0);
    m_membership.clearRow(channel);
    m_undo.record(channel, UndoKind::LinkButton, 0);
}

// A joining input takes on the mute of its engaged group: muted when any engaged member
// (itself included) is muted. Only the joining input changes.
void LinkGroupControl::matchMute(int channel)
{
    const LinkedSet set = LinkedSet::of(m_project.live, channel);
    int mute = 0;
    for (int member : set.members)
        if (m_project.live[static_cast<std::size_t>(member)].mute != 0)
            mute = 1;
    const int unit = unitOfChannel(channel);
    if (m_units.isUnitPresent(unit))
        m_units.sendParameter("Mute", mute, unit, inputOfChannel(channel));
    m_project.live[static_cast<std::size_t>(channel)].mute = mute;
    m_listeners.channelChanged(channel, ChannelAspect::Switches);
    m_undo.record(channel, UndoKind::Mute, mute);
}

void LinkGroupControl::rebuildLinkGroups()
{
    const LinkMembership::Table before = m_membership.table();
    for (int k = 0; k < MaxLinkGroups; ++k)
        for (int c = 0; c < MaxChannels; ++c)
            if (before[static_cast<std::size_t>(c)][static_cast<std::size_t>(k)] != 0)
                leaveLinkGroup(c);
    for (int k = 0; k < MaxLinkGroups; ++k)
        for (int c = 0; c < MaxChannels; ++c)
            if (before[static_cast<std::size_t>(c)][static_cast<std::size_t>(k)] != 0)
                joinLinkGroup(c, k + 1);
}

void LinkGroupControl::rejoinForLinkSwitch(int channel, int group)
{
    if (!isValidChannel(channel) || !isValidGroup(group))
        return;
    rebuildLinkGroups();
    joinLinkGroup(channel, group);
}

void LinkGroupControl::assignFromPopup(int channel, int choice)
{
    if (!isValidChannel(channel))
        return;
    if (choice == ChannelStripDialogs::ChoseNone) {
        leaveLinkGroup(channel);
        return;
    }
    if (!isValidGroup(choice))
        return;
    rebuildLinkGroups();
    if (m_membership.isMember(channel, choice)) {
        // Choosing the checked group takes the input out of it.
        m_membership.clearFlag(channel, choice);
        leaveLinkGroup(channel);
        return;
    }
    m_project.live[static_cast<std::size_t>(channel)].linkActive = 1;
    joinLinkGroup(channel, choice);
}

void LinkGroupControl::toggleCell(int group, int channel)
{
    if (m_membership.isMember(channel, group)) {
        m_project.live[static_cast<std::size_t>(channel)].linkActive = 0;
        leaveLinkGroup(channel);
    } else {
        m_project.live[static_cast<std::size_t>(channel)].linkActive = 1;
        joinLinkGroup(channel, group);
    }
}

void LinkGroupControl::matrixCellPressed(int group, int channel)
{
    if (!isValidChannel(channel) || !isValidGroup(group))
        return;
    m_matrixDragging = true;
    m_lastCellGroup = group;
    m_lastCellChannel = channel;
    toggleCell(group, channel);
}

void LinkGroupControl::matrixPointerEntered(int group, int channel)
{
    if (!m_matrixDragging || !isValidChannel(channel) || !isValidGroup(group))
        return;
    if (group == m_lastCellGroup && channel == m_lastCellChannel)
        return;
    m_lastCellGroup = group;
    m_lastCellChannel = channel;
    toggleCell(group, channel);
}

void LinkGroupControl::matrixReleased()
{
    m_matrixDragging = false;
    m_lastCellGroup = 0;
    m_lastCellChannel = -1;
}

bool LinkGroupControl::matrixShowsDot(int group, int channel) const
{
    return m_membership.isMember(channel, group) && m_project.live[static_cast<std::size_t>(channel)].linkButton == 1;
}

void LinkGroupControl::clearAllMemberships()
{
    m_membership.clearAll();
}

void LinkGroupControl::followLinkGroupSetting(int channel)
{
    if (!isValidChannel(channel))
        return;
    const int group = m_project.live[static_cast<std::size_t>(channel)].linkGroup;
    m_membership.joinOnly(channel, isValidGroup(group) ? group : 0);
    m_listeners.channelChanged(channel, ChannelAspect::LinkGroup);
}

void LinkGroupControl::setGroupText(int group, const std::string& title, const std::string& notes)
{
    if (!isValidGroup(group))
        return;
    // A rename is a change like any other: what Undo replaced can no longer be redone.
    m_undo.clearRedo();
    LinkGroup& entry = m_project.linkGroups[static_cast<std::size_t>(group - 1)];
    entry.title = title;
    entry.notes = notes;
    m_listeners.linkGroupTextChanged(group);
}

std::string LinkGroupControl::rowHeaderText(int group) const
{
    if (!isValidGroup(group))
        return {};
    return format("%02d   %s", group, m_project.linkGroups[static_cast<std::size_t>(group - 1)].title.c_str());
}

std::vector<std::string> LinkGroupControl::memberLines(int group) const
{
    std::vector<std::string> lines;
    for (int c = 0; c < MaxChannels; ++c)
        if (m_membership.isMember(c, group))
            lines.push_back(format("%03d %s", globalChannelNumber(c),
                                   m_project.channels[static_cast<std::size_t>(c)].name.c_str()));
    return lines;
}

} // namespace deskpanel
