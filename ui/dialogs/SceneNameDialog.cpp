#include "ui/dialogs/SceneNameDialog.h"

#include "core/model/ChannelControl.h"
#include "ui/dialogs/AppDialogTemplates.h"

namespace deskpanel {

SceneNameDialog::SceneNameDialog(Kind kind, const QString& heading, const NameAndNotes& initial,
                                 ChannelControl& channels, Operator& op, QWidget* parent)
    : NameNotesDialog(DialogTemplates::naming(kind == Kind::NewScene ? DialogTemplates::Naming::NewScene
                                                                     : DialogTemplates::Naming::RenameScene),
                      kind == Kind::NewScene ? QStringLiteral("New Scene") : QStringLiteral("Rename Scene"), op, 0, 0,
                      true, parent),
      m_heading(kind == Kind::NewScene ? QStringLiteral("Enter a name for the new scene...") : heading),
      m_initial(initial),
      m_channels(channels)
{
    load(0);
}

QString SceneNameDialog::headingFor(int) const
{
    return m_heading;
}

NameAndNotes SceneNameDialog::textsOf(int) const
{
    return m_initial;
}

void SceneNameDialog::closing()
{
    m_channels.raiseDialogJustClosed();
}

} // namespace deskpanel
