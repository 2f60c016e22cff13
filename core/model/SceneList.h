#pragma once
#include "core/model/Limits.h"
#include "core/model/Scene.h"

#include <string>
#include <vector>

namespace deskpanel {

// The ordered scene list. Position 0 is always the Blank Scene, which has no snapshot;
// positions 1..199 are stored scenes, each owning its own snapshot.
class SceneList {
public:
    static constexpr const char* BlankSceneText = "  000 Blank Scene";

    // Entries including the Blank Scene: 1..200.
    int count() const { return static_cast<int>(m_stored.size()) + 1; }
    int storedCount() const { return static_cast<int>(m_stored.size()); }
    bool isFull() const { return count() >= MaxSceneEntries; }

    // A stored scene, position 1..count()-1.
    const Scene& scene(int position) const { return m_stored.at(static_cast<std::size_t>(position - 1)); }
    Scene& scene(int position) { return m_stored.at(static_cast<std::size_t>(position - 1)); }

    // Appends a stored scene; false when the list is full.
    bool append(Scene scene);
    void removeAt(int position);
    void clear() { m_stored.clear(); }

    // "  %03d %s": two spaces, the position as three digits, a space, the name.
    std::string displayText(int position) const;

private:
    std::vector<Scene> m_stored;
};

} // namespace deskpanel
