#pragma once
#include "core/model/SceneListListener.h"

#include <algorithm>
#include <vector>

namespace deskpanel {

// Several windows and services follow the scene list (the scene panel, a remote endpoint,
// the records): every notification goes to each listener in the order they were added.
class SceneListListeners final : public SceneListListener {
public:
    void add(SceneListListener* listener)
    {
        if (listener && std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end())
            m_listeners.push_back(listener);
    }
    void remove(SceneListListener* listener) { std::erase(m_listeners, listener); }

    void sceneLinesChanged() override
    {
        forEach([](SceneListListener& l) { l.sceneLinesChanged(); });
    }
    void sceneSelected(int position) override
    {
        forEach([&](SceneListListener& l) { l.sceneSelected(position); });
    }
    void sceneListScrolled(int top) override
    {
        forEach([&](SceneListListener& l) { l.sceneListScrolled(top); });
    }
    void activeSceneChanged() override
    {
        forEach([](SceneListListener& l) { l.activeSceneChanged(); });
    }
    void sceneLockChanged(bool locked) override
    {
        forEach([&](SceneListListener& l) { l.sceneLockChanged(locked); });
    }

private:
    // A copy: a listener may remove itself (or another) while it is told.
    template <typename Call>
    void forEach(Call call)
    {
        const std::vector<SceneListListener*> now = m_listeners;
        for (SceneListListener* listener : now)
            if (std::find(m_listeners.begin(), m_listeners.end(), listener) != m_listeners.end())
                call(*listener);
    }

    std::vector<SceneListListener*> m_listeners;
};

} // namespace deskpanel
