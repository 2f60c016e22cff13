#pragma once
#include "core/host/NamingDialogs.h"
#include "tests/support/ScriptedAnswers.h"

#include <optional>
#include <string>
#include <vector>

namespace deskpanel::test {

// Answers the New Scene and Rename Scene dialogs from prepared texts (nothing = Cancel;
// Cancel when the list is empty) and records what each was opened with.
class ScriptedNamingDialogs : public SceneNamingDialogs, public ScriptedAnswers<std::optional<NameAndNotes>> {
public:
    struct Opened {
        std::string heading; // empty for the New Scene dialog
        NameAndNotes initial;
    };

    std::optional<NameAndNotes> askNewScene(const NameAndNotes& initial) override { return answer({{}, initial}); }
    std::optional<NameAndNotes> askRenameScene(const std::string& heading, const NameAndNotes& initial) override
    {
        return answer({heading, initial});
    }

    std::vector<Opened> opened;

private:
    std::optional<NameAndNotes> answer(Opened what)
    {
        opened.push_back(std::move(what));
        runWhileOpen();
        return takeAnswer(std::nullopt);
    }
};

} // namespace deskpanel::test
