#include "ui/dialogs/CDecisionDialog.h"

#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/DialogTemplates.h"

#include <QKeyEvent>

CDecisionDialog::CDecisionDialog(const QString& text, QWidget* parent)
    : CGlassDialog(DialogTemplates::decision(), QStringLiteral("Decision"), parent)
{
    createButton(ControlId::Yes, QStringLiteral("&Yes"), ImageRegistry::key(162));
    createButton(ControlId::No, QStringLiteral("&No"), ImageRegistry::key(162));
    createText(ControlId::Text, text);
}

void CDecisionDialog::onCommand(int id)
{
    if (id == ControlId::Yes)
        done(DialogResult::Yes);
    else if (id == ControlId::No)
        done(DialogResult::No);
    else
        CGlassDialog::onCommand(id);
}

void CDecisionDialog::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text();
    if (typed.compare(QLatin1String("y"), Qt::CaseInsensitive) == 0) {
        done(DialogResult::Yes);
        return;
    }
    if (typed.compare(QLatin1String("n"), Qt::CaseInsensitive) == 0) {
        done(DialogResult::No);
        return;
    }
    CGlassDialog::keyPressEvent(event);
}
