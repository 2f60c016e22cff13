#pragma once
#include "core/remote/OscCodec.h"
#include "core/remote/RemoteAddressTable.h"
#include "core/unitlink/UnitState.h"

#include <functional>
#include <string>
#include <vector>

namespace deskpanel {

class ChannelControl;
class Project;

// The present value behind an address, as the message that answers a query or carries
// feedback: the same address, the value as its argument.
class RemoteStateReader {
public:
    using UnitStateSource = std::function<UnitState(int unitNumber)>;

    RemoteStateReader(const Project& project, const ChannelControl& channels, UnitStateSource unitState);

    // Gain (f, dB), mute, pad, polarity, phantom (i 0/1) or name (s) of channel index 0..383.
    OscMessage channelValue(RemoteAction action, int channel) const;
    OscMessage unitState(int unitNumber) const;
    // s: the active scene's name, i: its number in the list.
    OscMessage activeScene() const;
    // The scene list in pages of at most `maxBytes` encoded: each "i first i total"
    // (first counted from 0, the Blank Scene) and one s per scene in list order.
    std::vector<OscMessage> sceneListPages(std::size_t maxBytes) const;
    // 0/1 of a switch of channel index 0..383 (mute, pad, polarity, phantom).
    int switchState(RemoteAction action, int channel) const;
    // s program, s version, s project name, i units taken on, i their channels.
    OscMessage info(const std::string& version) const;
    // The units taken on: present, whatever their health.
    int unitsTakenOn() const;
    // A scene's name as a remote names it: without the list's number and marker.
    std::string sceneName(int position) const;

private:
    const Project& m_project;
    const ChannelControl& m_channels;
    UnitStateSource m_unitState;
};

} // namespace deskpanel
