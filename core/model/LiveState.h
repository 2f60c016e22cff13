#pragma once
#include "core/model/ChannelSettings.h"
#include "core/model/Limits.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace deskpanel {

class Project;

// Everything a recall changes, taken before it, so that one Undo puts it all back:
// the live settings and names of every channel, the active and the followed scene, and
// the modified markers. Scenes are held by identity, since the list may be re-ordered
// meanwhile.
struct LiveState {
    ChannelSettingsArray settings{};
    std::array<std::string, MaxChannels> names;
    std::uint64_t activeSceneId = 0; // 0: the Blank Scene, or a scene no longer there
    int activeSceneIndex = 0;
    std::string activeSceneName;
    std::string followedSceneName;
    std::vector<std::uint64_t> markedScenes;
    // Held only by a change of notes (an import of names): a recall leaves notes alone,
    // and its Undo must not take back notes edited after it.
    std::optional<std::array<std::string, MaxChannels>> notes;

    enum class Notes {
        Left,
        Kept,
    };
    static LiveState of(const Project& project, Notes notes = Notes::Left);
};

} // namespace deskpanel
