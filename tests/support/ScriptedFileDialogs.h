#pragma once
#include "core/host/FileDialogs.h"
#include "tests/support/ScriptedAnswers.h"

#include <optional>
#include <string>
#include <vector>

namespace deskpanel::test {

// Answers file dialogs from prepared paths (nothing = Cancel; cancelled when the list
// is empty) and records every request. `whileOpen` runs inside the next dialog.
class ScriptedFileDialogs : public FileDialogs, public ScriptedAnswers<std::optional<std::string>> {
public:
    std::optional<std::string> askSaveAs(const FileDialogRequest& request) override { return answer(request); }
    std::optional<std::string> askOpen(const FileDialogRequest& request) override { return answer(request); }

    std::vector<FileDialogRequest> requests;

private:
    std::optional<std::string> answer(const FileDialogRequest& request)
    {
        requests.push_back(request);
        runWhileOpen();
        return takeAnswer(std::nullopt);
    }
};

} // namespace deskpanel::test
