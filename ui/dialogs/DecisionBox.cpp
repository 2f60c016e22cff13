#include "ui/dialogs/DecisionBox.h"

#include "ui/controls/GlassButton.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/DialogTemplates.h"

#include <QKeyEvent>

namespace deskpanel {

DecisionBox::DecisionBox(const QString& text, QWidget* parent)
    : GlassDialog(DialogTemplates::decision(), QStringLiteral("Decision"), parent)
{
    createButton(ControlId::Yes, QStringLiteral("&Yes"), ImageRegistry::key(162));
    GlassButton* no = createButton(ControlId::No, QStringLiteral("&No"), ImageRegistry::key(162));
    createText(ControlId::Text, text);
    // The box names no default button: the focus starts on the safe answer.
    if (no)
        no->setFocus(Qt::OtherFocusReason);
}

void DecisionBox::onCommand(int id)
{
    if (id == ControlId::Yes)
        done(DialogResult::Yes);
    else if (id == ControlId::No)
        done(DialogResult::No);
    else
        GlassDialog::onCommand(id);
}

void DecisionBox::onEnter()
{
    // The safe answer: nothing is done that the operator did not ask for.
    done(DialogResult::No);
}

void DecisionBox::keyPressEvent(QKeyEvent* event)
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
    GlassDialog::keyPressEvent(event);
}

} // namespace deskpanel
