#pragma once
#include "core/host/NamingDialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace deskpanel::test {

// Answers the New Scene and Rename Scene dialogs from prepared texts (nothing = Cancel;
// Cancel when the list is empty) and records what each was opened with.
class ScriptedNamingDialogs : public SceneNamingDialogs {
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

    std::deque<std::optional<NameAndNotes>> answers;
    std::vector<Opened> opened;
    std::function<void()> whileOpen;

private:
    std::optional<NameAndNotes> answer(Opened what)
    {
        opened.push_back(std::move(what));
        if (whileOpen) {
            auto inside = std::move(whileOpen);
            whileOpen = nullptr;
            inside();
        }
        if (answers.empty())
            return std::nullopt;
        auto next = answers.front();
        answers.pop_front();
        return next;
    }
};

} // namespace deskpanel::test
