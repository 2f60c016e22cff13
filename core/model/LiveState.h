#pragma once
#include "core/model/ChannelSettings.h"
#include "core/model/Limits.h"
#include "core/model/RecallSafes.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace deskpanel {

class Project;

// Everything a recall changes, taken before it, so that one Undo puts it all back:
// the live settings and names of every channel, the active and the followed scene, and
// the modified markers. Scenes are held by identity, since the list may be re-ordered
// or renamed meanwhile.
struct LiveState {
    ChannelSettingsArray settings{};
    std::array<std::string, MaxChannels> names;
    std::uint64_t activeSceneId = 0; // 0: the Blank Scene, or a scene no longer there
    int activeSceneIndex = 0;
    std::string activeSceneName;
    // The scene that followed the live settings: 0 when none did, or the Blank Scene.
    std::uint64_t followedSceneId = 0;
    std::string followedSceneName; // what the project called it, kept for the Blank Scene
    std::vector<std::uint64_t> markedScenes;
    // The settings the recall left as they were live (its recall safes then): putting
    // the state back leaves them alone too, whatever the safes are by then.
    RecallSafes kept;

    static LiveState of(const Project& project);
};

} // namespace deskpanel
