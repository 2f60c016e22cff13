#include "ui/dialogs/LinkGroupNameDialog.h"

#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "ui/dialogs/AppDialogTemplates.h"

namespace deskpanel {

LinkGroupNameDialog::LinkGroupNameDialog(Project& project, ChannelControl& channels, Operator& op, int group,
                                         QWidget* parent)
    : NameNotesDialog(DialogTemplates::naming(DialogTemplates::Naming::LinkGroup), QStringLiteral("Link Group Name"),
                      op, MaxLinkGroups - 1, group - 1, false, parent),
      m_project(project),
      m_channels(channels)
{
    load(currentIndex());
}

QString LinkGroupNameDialog::headingFor(int index) const
{
    return QStringLiteral("Enter the desired title for Link Group %1").arg(index + 1);
}

NameAndNotes LinkGroupNameDialog::textsOf(int index) const
{
    const LinkGroup& group = m_project.linkGroups[static_cast<std::size_t>(index)];
    return {group.title, group.notes};
}

void LinkGroupNameDialog::store(int index, const NameAndNotes& texts)
{
    m_channels.linkGroups().setGroupText(index + 1, texts.name, texts.notes);
}

void LinkGroupNameDialog::closing()
{
    m_channels.raiseDialogJustClosed();
}

} // namespace deskpanel
