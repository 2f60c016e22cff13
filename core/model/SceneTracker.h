#pragma once

namespace deskpanel {

// What a channel change asks of the scene list: mark the active scene modified, and
// write the live settings into the followed scene's snapshot. The scene operations
// implement it.
class SceneTracker {
public:
    virtual ~SceneTracker() = default;
    virtual void markActiveSceneModified() = 0;
    virtual void updateFollowedScene() = 0;
};

} // namespace deskpanel
