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

std::vector<OscMessage> RemoteStateReader::sceneListPages(std::size_t maxBytes) const
{
    const int total = m_project.scenes.count();
    std::vector<OscMessage> pages;
    const auto newPage = [&](int first) {
        pages.push_back({remoteAddressFor(RemoteAction::SceneList), {std::int32_t{first}, std::int32_t{total}}});
    };
    newPage(0);
    for (int position = 0; position < total; ++position) {
        pages.back().arguments.emplace_back(sceneName(position));
        if (pages.back().arguments.size() > 3 && osc::encodeMessage(pages.back()).size() > maxBytes) {
            pages.back().arguments.pop_back();
            newPage(position);
            pages.back().arguments.emplace_back(sceneName(position));
        }
    }
    return pages;
}

int RemoteStateReader::switchState(RemoteAction action, int channel) const
{
    const ChannelSettings& s = m_channels.settings(channel);
    switch (action) {
    case RemoteAction::ChannelMute: return s.mute != 0 ? 1 : 0;
    case RemoteAction::ChannelPad: return s.pad != 0 ? 1 : 0;
    case RemoteAction::ChannelPolarity: return s.polarity != 0 ? 1 : 0;
    default: return s.phantom48V != 0 ? 1 : 0;
    }
}

int RemoteStateReader::unitsTakenOn() const
{
    int count = 0;
    for (int unit = 1; unit <= MaxUnits; ++unit) {
        const UnitState state = m_unitState ? m_unitState(unit) : UnitState::INACTIVE;
        count += state != UnitState::INACTIVE && state != UnitState::OFFLINE;
    }
    return count;
}

OscMessage RemoteStateReader::info(const std::string& version) const
{
    std::string project = m_project.projectName;
    if (project.size() > 4 && project.compare(project.size() - 4, 4, ".vpf") == 0)
        project.resize(project.size() - 4);
    const int units = unitsTakenOn();
    return {remoteAddressFor(RemoteAction::Info),
            {std::string("DeskPanel"), version, project, std::int32_t{units}, std::int32_t{units * ChannelsPerUnit}}};
}

} // namespace deskpanel
