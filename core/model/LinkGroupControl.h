#pragma once
#include "core/model/LinkMembership.h"

#include <string>
#include <vector>

namespace deskpanel {

class ChannelListenerList;
class Project;
class UndoHistory;
class UnitSender;

// Membership of the ten link groups: joining, leaving, the rebuild, the strip's pop-up,
// the link matrix, and the groups' titles and notes. Every change is sent to the unit
// of the input (when present), recorded for Undo and told to the listeners.
class LinkGroupControl {
public:
    LinkGroupControl(Project& project, UnitSender& units, UndoHistory& undo, const ChannelListenerList& listeners);

    const LinkMembership& membership() const { return m_membership; }

    // Puts the channel into group 1..10 (out of any other) and takes its present gain
    // position as its link reference. Ignored for a channel or group out of range.
    void joinLinkGroup(int channel, int group);
    // Takes the channel out of its group; its Link switch goes off.
    void leaveLinkGroup(int channel);
    // Every member of every group leaves and joins again, so each takes its present
    // position as its new reference.
    void rebuildLinkGroups();
    // The Link switch went on for a channel of group 1..10.
    void rejoinForLinkSwitch(int channel, int group);

    // A choice of the link group pop-up: ChannelStripDialogs::ChoseNone or 1..10.
    // Choosing the group the channel is already in takes it out.
    void assignFromPopup(int channel, int choice);

    // Link matrix: a click on a cell toggles that input's membership of the group; with
    // the button held, each further cell the pointer enters toggles the same way (a cell
    // counts once until the pointer has been in another cell).
    void matrixCellPressed(int group, int channel);
    void matrixPointerEntered(int group, int channel);
    void matrixReleased();
    // The matrix draws a dot where an input is a member and its Link switch is on.
    bool matrixShowsDot(int group, int channel) const;

    // Reset all channels: every flag cleared (the settings are reset by the caller).
    void clearAllMemberships();
    // A scene recall has set the channel's linkGroup: its flags follow it. Nothing is
    // sent and nothing recorded.
    void followLinkGroupSetting(int channel);

    // Title and notes of group 1..10, kept whole; ignored for any other group.
    void setGroupText(int group, const std::string& title, const std::string& notes);
    // Matrix row header "%02d   %s" (number, three spaces, title).
    std::string rowHeaderText(int group) const;
    // Members list lines "%03d %s" (global channel number, name), ascending.
    std::vector<std::string> memberLines(int group) const;
    bool isInAnyGroup(int channel) const { return m_membership.groupOf(channel) != 0; }

private:
    void matchMute(int channel);
    void toggleCell(int group, int channel);
    void sendLink(int channel, int value);

    Project& m_project;
    UnitSender& m_units;
    UndoHistory& m_undo;
    const ChannelListenerList& m_listeners;
    LinkMembership m_membership;
    bool m_matrixDragging = false;
    int m_lastCellGroup = 0;
    int m_lastCellChannel = -1;
};

} // namespace deskpanel
