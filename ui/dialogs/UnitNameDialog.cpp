#include "ui/dialogs/UnitNameDialog.h"

#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "ui/dialogs/AppDialogTemplates.h"

namespace deskpanel {

// The walk runs over indexes 0..47; unit numbers are one more.
UnitNameDialog::UnitNameDialog(Project& project, ChannelControl& channels, Operator& op, int unit, QWidget* parent)
    : NameNotesDialog(DialogTemplates::naming(DialogTemplates::Naming::Unit), QStringLiteral("Unit Name"), op,
                      MaxUnits - 1, unit - 1, false, parent),
      m_project(project),
      m_channels(channels)
{
    load(currentIndex());
}

QString UnitNameDialog::headingFor(int index) const
{
    return QStringLiteral("Enter the desired title for Unit %1").arg(index + 1);
}

NameAndNotes UnitNameDialog::textsOf(int index) const
{
    const UnitInfo& info = m_project.units[static_cast<std::size_t>(index)];
    return {info.name, info.notes};
}

void UnitNameDialog::store(int index, const NameAndNotes& texts)
{
    m_channels.setUnitText(index + 1, texts.name, texts.notes);
}

} // namespace deskpanel
