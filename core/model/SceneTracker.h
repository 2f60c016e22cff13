#pragma once

namespace deskpanel {

struct LiveState;

// What a channel change asks of the scene list: mark the active scene modified, and
// write the live settings into the followed scene's snapshot. The scene operations
// implement it.
class SceneTracker {
public:
    virtual ~SceneTracker() = default;
    virtual void markActiveSceneModified() = 0;
    virtual void updateFollowedScene() = 0;
    // Undo or Redo of a recall: the state is put back and sent as a recall of it would
    // be, and the active scene, followed scene and markers return to it.
    virtual void restoreLiveState(const LiveState& /*state*/) {}
    // The scene lock: an Undo or Redo of a recall is a recall in all but name.
    virtual bool isSceneLocked() const { return false; }
};

} // namespace deskpanel
