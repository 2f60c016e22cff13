#include "ui/dialogs/CMessageDialog.h"

#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/DialogTemplates.h"

CMessageDialog::CMessageDialog(const QString& text, QWidget* parent)
    : CGlassDialog(DialogTemplates::message(), QStringLiteral("Message"), parent)
{
    createButton(ControlId::Ok, QStringLiteral("&OK"), ImageRegistry::key(162));
    createText(ControlId::Text, text);
}
