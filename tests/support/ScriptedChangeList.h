#pragma once
#include "core/host/ChangeListDialog.h"

#include <vector>

namespace deskpanel::test {

// Keeps every list shown and answers with `answer`.
class ScriptedChangeList : public ChangeListDialog {
public:
    bool confirm(const ChangeList& changes) override
    {
        shown.push_back(changes);
        return answer;
    }
    bool answer = false;
    std::vector<ChangeList> shown;
};

} // namespace deskpanel::test
