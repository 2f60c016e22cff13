#pragma once
#include "ui/controls/GlassDialog.h"

class QListWidget;
class QListWidgetItem;

namespace deskpanel {

class ChannelControl;
class HelpOpener;
class Operator;
class Project;

// The members of one link group, "%03d name" in ascending input order. A double click
// on a member shows its title in the message box; H opens the help topic on linked
// channel names; O or OK closes and raises the dialog-just-closed flag.
class LinkGroupMembersDialog : public GlassDialog {
    Q_OBJECT
public:
    LinkGroupMembersDialog(Project& project, ChannelControl& channels, Operator& op, HelpOpener& help, int group,
                           QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }

protected:
    void onCommand(int id) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showTitle(QListWidgetItem* item);

    Project& m_project;
    ChannelControl& m_channels;
    Operator& m_operator;
    HelpOpener& m_help;
    QListWidget* m_list = nullptr;
};

} // namespace deskpanel
