#pragma once
#include "core/model/ChannelSettings.h"
#include "core/model/Limits.h"
#include "core/model/ProjectPrefs.h"
#include "core/model/RecallSafes.h"
#include "core/model/SceneList.h"

#include <array>
#include <string>

namespace deskpanel {

struct ChannelInfo {
    std::string name;
    std::string notes;
};

struct UnitInfo {
    std::string name;
    std::string notes;
};

struct LinkGroup {
    std::string title;
    std::string notes;
};

// The one project of the run. New Project and Open replace its contents, never the
// object. Texts are kept whole here; they are cut to 99 characters only where they
// enter a 100-byte field of the project file.
class Project {
public:
    static constexpr const char* NewProjectName = "New Project";

    Project();

    std::array<UnitInfo, MaxUnits> units;
    std::array<ChannelInfo, MaxChannels> channels;
    ChannelSettingsArray live{};
    std::array<LinkGroup, MaxLinkGroups> linkGroups;
    SceneList scenes;
    int activeSceneIndex = 0;
    std::string activeSceneName = SceneList::BlankSceneText;
    std::string projectName = NewProjectName;
    std::string projectPath;
    bool hasFile = false;
    std::string followedSceneName;
    bool sceneFollowing = false;
    ProjectPrefs prefs;
    // Kept beside the project file, never in it; New Project clears them.
    RecallSafes recallSafes;
    // The project's recall safes file is there but could not be read, and the operator
    // has not set the safes since: no one knows which channels should be safe, so every
    // recall from the desk shows its preview and remote recalls are refused.
    bool recallSafesUnreadable = false;

    // The main window's title; changed only when a project name longer than 3
    // characters is set.
    const std::string& windowTitle() const { return m_windowTitle; }
    void setProjectName(const std::string& name);

    // New Project: default names, only the Blank Scene, default settings. Unit notes and
    // link group notes are kept. `lastUsedDirectory` ends in a separator or is empty.
    void resetToNewProject(const std::string& lastUsedDirectory);

    // Every channel's settings back to the defaults (model only; sending is the
    // channel control's).
    void resetAllChannelSettings();

    // The live settings as a scene snapshot: linkActive is 1 exactly where linkButton is.
    ChannelSettingsArray snapshotSettings() const;
    std::array<std::string, MaxChannels> channelNames() const;

    static std::string defaultChannelName(int channel);
    static std::string defaultUnitName(int unitNumber);

private:
    std::string m_windowTitle;
};

} // namespace deskpanel
