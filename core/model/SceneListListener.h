#pragma once

namespace deskpanel {

// How the scene panel learns of changes to the scene list. Called on the UI thread.
class SceneListListener {
public:
    virtual ~SceneListListener() = default;
    // The lines changed: show SceneList::displayLines() again.
    virtual void sceneLinesChanged() = 0;
    virtual void sceneSelected(int position) = 0;
    // The list's top line (a drag scrolls, an opened project starts at the top).
    virtual void sceneListScrolled(int topPosition) = 0;
    // The active scene's number or name changed: "Active Scene: %03d" and the name.
    virtual void activeSceneChanged() = 0;
    // The scene lock changed, or the buttons are due to be redrawn from it.
    virtual void sceneLockChanged(bool /*locked*/) {}
};

} // namespace deskpanel
