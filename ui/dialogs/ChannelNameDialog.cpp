#include "ui/dialogs/ChannelNameDialog.h"

#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "ui/dialogs/AppDialogTemplates.h"

namespace deskpanel {

ChannelNameDialog::ChannelNameDialog(Project& project, ChannelControl& channels, Operator& op, int channel,
                                     QWidget* parent)
    : NameNotesDialog(DialogTemplates::naming(DialogTemplates::Naming::Channel), QStringLiteral("Channel Name"), op,
                      MaxChannels - 1, channel, false, parent),
      m_project(project),
      m_channels(channels)
{
    m_channels.setCurrentChannel(currentIndex());
    load(currentIndex());
}

QString ChannelNameDialog::headingFor(int index) const
{
    return QStringLiteral("Enter the desired title for Channel %1").arg(globalChannelNumber(index));
}

NameAndNotes ChannelNameDialog::textsOf(int index) const
{
    const ChannelInfo& info = m_project.channels[static_cast<std::size_t>(index)];
    return {info.name, info.notes};
}

void ChannelNameDialog::store(int index, const NameAndNotes& texts)
{
    m_channels.setChannelText(index, texts.name, texts.notes);
}

void ChannelNameDialog::indexChanged(int index)
{
    m_channels.setCurrentChannel(index);
}

void ChannelNameDialog::closing()
{
    m_channels.raiseDialogJustClosed();
}

} // namespace deskpanel
