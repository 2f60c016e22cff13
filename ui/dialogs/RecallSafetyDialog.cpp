#include "ui/dialogs/RecallSafetyDialog.h"

#include "ui/dialogs/SafetyDialogTemplates.h"

#include <QCheckBox>

namespace deskpanel {

namespace {
QCheckBox* check(QWidget* parent, const QRect& rect, const char* text, bool checked)
{
    auto* box = new QCheckBox(QString::fromLatin1(text), parent);
    box->setGeometry(rect.adjusted(0, 0, 0, 4));
    box->setChecked(checked);
    return box;
}
} // namespace

RecallSafetyDialog::RecallSafetyDialog(const SafetySettings& settings, QWidget* parent)
    : GlassDialog(SafetyTemplates::recallAndSafety(), QStringLiteral("Recall and Safety"), parent)
{
    m_preview =
        check(this, controlRect(SafetyControl::PreviewRecall), "Preview scene recall", settings.previewSceneRecall);
    m_confirm = check(this, controlRect(SafetyControl::Confirm48V), "Confirm 48 V on", settings.confirm48VOn);
    createOkCancel();
}

SafetySettings RecallSafetyDialog::settings() const
{
    SafetySettings settings;
    settings.previewSceneRecall = m_preview->isChecked();
    settings.confirm48VOn = m_confirm->isChecked();
    return settings;
}

} // namespace deskpanel
