#pragma once
#include "core/remote/OscCodec.h"
#include "core/remote/RemoteAddressTable.h"
#include "core/unitlink/UnitState.h"

#include <functional>
#include <string>

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
    // One s per scene in list order, the Blank Scene first.
    OscMessage sceneList() const;
    // A scene's name as a remote names it: without the list's number and marker.
    std::string sceneName(int position) const;

private:
    const Project& m_project;
    const ChannelControl& m_channels;
    UnitStateSource m_unitState;
};

} // namespace deskpanel
