#pragma once
#include <string>
#include <vector>

namespace deskpanel {

// One line of a list of changes: a warning (drawn in red, listed first), a change, or a
// setting that is kept as it is.
struct ChangeLine {
    enum class Kind {
        Warning,
        Change,
        Kept,
    };
    Kind kind = Kind::Change;
    std::string text;

    bool operator==(const ChangeLine&) const = default;
};

// What a change list dialog shows: its caption, a heading over the lines, and the text
// of the button that goes ahead ("&Recall"). The other button is "&Cancel".
struct ChangeList {
    std::string caption;
    std::string heading;
    std::string acceptText;
    std::vector<ChangeLine> lines;
};

// Shows a list of changes before they are made. Modal: timers and datagrams keep running
// while it is open. True when the operator goes ahead.
class ChangeListDialog {
public:
    virtual ~ChangeListDialog() = default;
    virtual bool confirm(const ChangeList& changes) = 0;
};

} // namespace deskpanel
