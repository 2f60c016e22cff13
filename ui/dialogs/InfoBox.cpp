#include "ui/dialogs/InfoBox.h"

#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/DialogTemplates.h"

namespace deskpanel {

InfoBox::InfoBox(const QString& text, QWidget* parent)
    : GlassDialog(DialogTemplates::message(), QStringLiteral("Message"), parent)
{
    createButton(ControlId::Ok, QStringLiteral("&OK"), ImageRegistry::key(162));
    createText(ControlId::Text, text);
}

} // namespace deskpanel
