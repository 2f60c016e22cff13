#include "core/model/Project.h"

#include "core/model/Text.h"

namespace deskpanel {

Project::Project()
{
    resetToNewProject("");
}

std::string Project::defaultChannelName(int channel)
{
    return format("Channel %d", globalChannelNumber(channel));
}

std::string Project::defaultUnitName(int unitNumber)
{
    return format("UNIT %d", unitNumber);
}

void Project::setProjectName(const std::string& name)
{
    projectName = name;
    if (characterCount(projectName) > 3)
        m_windowTitle = " Veltara RP-8 - " + projectName;
}

void Project::resetToNewProject(const std::string& lastUsedDirectory)
{
    for (int c = 0; c < MaxChannels; ++c) {
        channels[static_cast<std::size_t>(c)].name = defaultChannelName(c);
        channels[static_cast<std::size_t>(c)].notes.clear();
    }
    for (int u = 1; u <= MaxUnits; ++u)
        units[static_cast<std::size_t>(u - 1)].name = defaultUnitName(u);
    for (auto& group : linkGroups)
        group.title.clear();
    scenes.clear();
    activeSceneIndex = 0;
    activeSceneName = SceneList::BlankSceneText;
    resetAllChannelSettings();
    recallSafes.clear();
    recallSafesUnreadable = false;
    projectPath = lastUsedDirectory + NewProjectName + ".vpf";
    hasFile = false;
    setProjectName(NewProjectName);
}

void Project::resetAllChannelSettings()
{
    live.fill(ChannelSettings{});
}

ChannelSettingsArray Project::snapshotSettings() const
{
    ChannelSettingsArray snapshot = live;
    for (auto& settings : snapshot)
        settings.linkActive = settings.linkButton == 1 ? 1 : 0;
    return snapshot;
}

std::array<std::string, MaxChannels> Project::channelNames() const
{
    std::array<std::string, MaxChannels> names;
    for (std::size_t c = 0; c < names.size(); ++c)
        names[c] = channels[c].name;
    return names;
}

} // namespace deskpanel
