#pragma once
#include <QMenu>

namespace deskpanel {

// The pop-up of a strip's link group label: the heading "Link Group", a separator,
// "None" and " 1" .. " 10", with the check on the channel's present group ("None" for
// no group). Returns what ChannelStripDialogs::chooseLinkGroup returns.
class LinkGroupPopup : public QMenu {
    Q_OBJECT
public:
    LinkGroupPopup(int checkedGroup, QWidget* parent = nullptr);

    // Shows the menu at `at` (screen coordinates) until a choice or a dismissal.
    int choose(const QPoint& at);
    // The choice an item stands for: ChoseNone, 1..10, or NothingChosen.
    static int choiceOf(const QAction* action);
};

} // namespace deskpanel
