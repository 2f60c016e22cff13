#include "core/model/LiveState.h"

#include "core/model/Project.h"

namespace deskpanel {

LiveState LiveState::of(const Project& project)
{
    LiveState state;
    state.settings = project.live;
    state.names = project.channelNames();
    state.activeSceneIndex = project.activeSceneIndex;
    if (project.scenes.isStoredPosition(project.activeSceneIndex))
        state.activeSceneId = project.scenes.idAt(project.activeSceneIndex);
    state.activeSceneName = project.activeSceneName;
    state.followedSceneName = project.followedSceneName;
    if (const int followed = project.scenes.findByName(project.followedSceneName); followed > 0)
        state.followedSceneId = project.scenes.idAt(followed);
    for (int p = 1; p < project.scenes.count(); ++p)
        if (project.scenes.isModified(p))
            state.markedScenes.push_back(project.scenes.idAt(p));
    state.kept = project.recallSafes;
    return state;
}

} // namespace deskpanel
