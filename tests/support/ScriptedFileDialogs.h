#pragma once
#include "core/host/FileDialogs.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace deskpanel::test {

// Answers file dialogs from prepared paths (nothing = Cancel; cancelled when the list
// is empty) and records every request. `whileOpen` runs inside the next dialog.
class ScriptedFileDialogs : public FileDialogs {
public:
    std::optional<std::string> askSaveAs(const FileDialogRequest& request) override { return answer(request); }
    std::optional<std::string> askOpen(const FileDialogRequest& request) override { return answer(request); }

    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
    std::function<void()> whileOpen;

private:
    std::optional<std::string> answer(const FileDialogRequest& request)
    {
        requests.push_back(request);
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
