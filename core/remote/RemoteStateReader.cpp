#include "core/remote/RemoteStateReader.h"

#include "core/model/ChannelControl.h"
#include "core/model/Project.h"

namespace deskpanel {

RemoteStateReader::RemoteStateReader(const Project& project, const ChannelControl& channels, UnitStateSource unitState)
    : m_project(project), m_channels(channels), m_unitState(std::move(unitState))
{}

OscMessage RemoteStateReader::channelValue(RemoteAction action, int channel) const
{
    OscMessage message{remoteAddressFor(action, channel), {}};
    const ChannelSettings& s = m_channels.settings(channel);
    switch (action) {
    case RemoteAction::ChannelGain:
        message.arguments.emplace_back(static_cast<float>(m_channels.gainDbOf(channel)));
        break;
    case RemoteAction::ChannelMute: message.arguments.emplace_back(s.mute != 0 ? 1 : 0); break;
    case RemoteAction::ChannelPad: message.arguments.emplace_back(s.pad != 0 ? 1 : 0); break;
    case RemoteAction::ChannelPolarity: message.arguments.emplace_back(s.polarity != 0 ? 1 : 0); break;
    case RemoteAction::ChannelPhantom: message.arguments.emplace_back(s.phantom48V != 0 ? 1 : 0); break;
    default:
        if (isValidChannel(channel))
            message.arguments.emplace_back(m_project.channels[static_cast<std::size_t>(channel)].name);
        break;
    }
    return message;
}

OscMessage RemoteStateReader::unitState(int unitNumber) const
{
    const UnitState state = m_unitState ? m_unitState(unitNumber) : UnitState::INACTIVE;
    return {remoteAddressFor(RemoteAction::UnitState, unitNumber), {std::string(unitStateName(state))}};
}

std::string RemoteStateReader::sceneName(int position) const
{
    return position == 0 ? std::string("Blank Scene") : m_project.scenes.scene(position).name;
}

OscMessage RemoteStateReader::activeScene() const
{
    const int active = m_project.activeSceneIndex;
    return {remoteAddressFor(RemoteAction::SceneActive), {sceneName(active), std::int32_t{active}}};
}

OscMessage RemoteStateReader::sceneList() const
{
    OscMessage message{remoteAddressFor(RemoteAction::SceneList), {}};
    for (int position = 0; position < m_project.scenes.count(); ++position)
        message.arguments.emplace_back(sceneName(position));
    return message;
}

} // namespace deskpanel
