#include "core/model/LiveState.h"

#include "core/model/Project.h"

namespace deskpanel {

LiveState LiveState::of(const Project& project, Notes notes)
{
    LiveState state;
    state.settings = project.live;
    state.names = project.channelNames();
    state.activeSceneIndex = project.activeSceneIndex;
    if (project.scenes.isStoredPosition(project.activeSceneIndex))
        state.activeSceneId = project.scenes.idAt(project.activeSceneIndex);
    state.activeSceneName = project.activeSceneName;
    state.followedSceneName = project.followedSceneName;
    for (int p = 1; p < project.scenes.count(); ++p)
        if (project.scenes.isModified(p))
            state.markedScenes.push_back(project.scenes.idAt(p));
    if (notes == Notes::Kept) {
        state.notes.emplace();
        for (std::size_t c = 0; c < state.notes->size(); ++c)
            (*state.notes)[c] = project.channels[c].notes;
    }
    return state;
}

} // namespace deskpanel
