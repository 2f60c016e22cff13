#pragma once
#include "core/model/Limits.h"
#include "core/model/Scene.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace deskpanel {

struct SceneText {
    std::string name;
    std::string notes;
};

// The ordered scene list. Position 0 is always the Blank Scene, which has no snapshot;
// positions 1..199 are stored scenes, each owning its own snapshot.
//
// Each stored entry also carries what its display line shows besides the name: the
// modified marker ("*") and the number the line was last numbered with. A drag moves
// lines without renumbering them until the button is released; every other change
// renumbers at once.
class SceneList {
public:
    static constexpr const char* BlankSceneText = "  000 Blank Scene";

    // Entries including the Blank Scene: 1..200.
    int count() const { return static_cast<int>(m_entries.size()) + 1; }
    int storedCount() const { return static_cast<int>(m_entries.size()); }
    bool isFull() const { return count() >= MaxSceneEntries; }
    bool isStoredPosition(int position) const { return position >= 1 && position < count(); }

    // A stored scene, position 1..count()-1 (an empty one for any other position).
    const Scene& scene(int position) const { return entry(position).scene; }
    Scene& scene(int position) { return entry(position).scene; }

    // Appends a stored scene, numbered with its position; false when the list is full.
    bool append(Scene scene);
    // Removes a stored scene; later scenes move up and every line is renumbered. The
    // texts of the last position stay behind as what a new scene there starts with.
    void removeAt(int position);
    // Only the Blank Scene remains; no texts stay behind.
    void clear();

    // "  %03d %s": two spaces, the position as three digits, a space, the name.
    std::string displayText(int position) const;
    // The line as the list shows it: the number it was last numbered with, the name
    // and the modified marker.
    std::string displayLine(int position) const;
    std::vector<std::string> displayLines() const;
    void renumber();

    bool isModified(int position) const;
    void setModified(int position);
    void clearModifiedMarkers();

    // Swaps the stored scenes at `position` and `position + 1`, lines unrenumbered.
    void swapWithNext(int position);

    // What the New Scene dialog starts with for position p: the texts of the scene
    // there, or those left behind by the last scene that occupied it.
    SceneText heldText(int position) const;

    // A stable identity of each stored entry, so an order can be taken and put back.
    std::vector<std::uint64_t> order() const;
    // Puts the entries back into an order taken earlier; entries missing from it keep
    // their relative order after those listed.
    void restoreOrder(const std::vector<std::uint64_t>& order);
    std::uint64_t idAt(int position) const { return entry(position).id; }
    // The position of an entry by identity; 0 when it is gone.
    int positionOf(std::uint64_t id) const;

    // The first stored scene carrying exactly this name; 0 when none does.
    int findByName(const std::string& name) const;

    // "Active Scene: %03d".
    static std::string activeLabel(int position);

private:
    struct Entry {
        Scene scene;
        bool modified = false;
        int shownNumber = 0;
        std::uint64_t id = 0;
    };
    // Positions come from the operator and from files: one outside the stored scenes
    // finds an empty entry, which nothing keeps.
    const Entry& entry(int position) const;
    Entry& entry(int position);

    std::vector<Entry> m_entries;
    std::array<SceneText, MaxSceneEntries> m_leftover{};
    std::uint64_t m_nextId = 1;
    Entry m_noEntry;
};

} // namespace deskpanel
