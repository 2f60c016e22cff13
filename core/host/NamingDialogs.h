#pragma once
#include <optional>
#include <string>

namespace deskpanel {

struct NameAndNotes {
    std::string name;
    std::string notes;
};

// The New Scene and Rename Scene dialogs. Modal: timers and datagrams keep running
// while one is open. Each returns the texts the operator confirmed with OK, or nothing
// on Cancel.
class SceneNamingDialogs {
public:
    virtual ~SceneNamingDialogs() = default;
    // Heading "Enter a name for the new scene..."; the edits start with `initial`.
    virtual std::optional<NameAndNotes> askNewScene(const NameAndNotes& initial) = 0;
    // Heading "Enter a new name for the '%s' scene" with the scene's name.
    virtual std::optional<NameAndNotes> askRenameScene(const std::string& heading, const NameAndNotes& initial) = 0;
};

} // namespace deskpanel
