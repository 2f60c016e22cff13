#include "ui/dialogs/LinkGroupPopup.h"

#include "core/model/ChannelStripDialogs.h"
#include "core/model/Limits.h"

namespace deskpanel {

LinkGroupPopup::LinkGroupPopup(int checkedGroup, QWidget* parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("linkGroupPopup"));
    // The heading is an item that does nothing when chosen.
    addAction(QStringLiteral("Link Group"))->setData(ChannelStripDialogs::NothingChosen);
    addSeparator();
    QAction* none = addAction(QStringLiteral("None"));
    none->setData(ChannelStripDialogs::ChoseNone);
    none->setCheckable(true);
    none->setChecked(checkedGroup == 0);
    for (int group = 1; group <= MaxLinkGroups; ++group) {
        QAction* item = addAction(QStringLiteral(" %1").arg(group));
        item->setData(group);
        item->setCheckable(true);
        item->setChecked(group == checkedGroup);
    }
}

int LinkGroupPopup::choiceOf(const QAction* action)
{
    if (!action || !action->data().isValid())
        return ChannelStripDialogs::NothingChosen;
    const int choice = action->data().toInt();
    return choice >= ChannelStripDialogs::ChoseNone && choice <= MaxLinkGroups ? choice
                                                                               : ChannelStripDialogs::NothingChosen;
}

int LinkGroupPopup::choose(const QPoint& at)
{
    return choiceOf(exec(at));
}

} // namespace deskpanel
