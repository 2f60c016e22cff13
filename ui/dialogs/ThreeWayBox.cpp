#include "ui/dialogs/ThreeWayBox.h"

#include "ui/controls/GlassButton.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/DialogTemplates.h"

namespace deskpanel {

ThreeWayBox::ThreeWayBox(const QString& text, std::function<void()> saveAs, QWidget* parent)
    : GlassDialog(DialogTemplates::threeWay(), QStringLiteral("Decision"), parent), m_saveAs(std::move(saveAs))
{
    createButton(ControlId::Yes, QStringLiteral("&Yes"), ImageRegistry::key(230));
    createButton(ControlId::No, QStringLiteral("&No"), ImageRegistry::key(162));
    GlassButton* cancel = createButton(ControlId::Cancel, QStringLiteral("&Cancel"), ImageRegistry::key(162));
    createText(ControlId::Text, text);
    // The box names no default button: the focus starts on the answer that changes nothing.
    if (cancel)
        cancel->setFocus(Qt::OtherFocusReason);
}

void ThreeWayBox::onCommand(int id)
{
    if (id == ControlId::Yes)
        done(resultYes);
    else if (id == ControlId::No)
        done(resultNo);
    else if (id == ControlId::Cancel)
        done(DialogResult::Cancel);
}

void ThreeWayBox::onEnter()
{
    // Save As runs its own dialogs; a second Enter reaching us meanwhile must not start
    // another one inside the first.
    if (!m_saveAs || m_savingAs)
        return;
    m_savingAs = true;
    m_saveAs();
    m_savingAs = false;
}

} // namespace deskpanel
