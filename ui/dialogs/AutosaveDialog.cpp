#include "ui/dialogs/AutosaveDialog.h"

#include "core/model/ProjectPrefs.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QCheckBox>
#include <QSpinBox>

namespace deskpanel {

AutosaveDialog::AutosaveDialog(ProjectPrefs& prefs, QWidget* parent)
    : GlassDialog(DialogTemplates::autosave(), QStringLiteral("Autosave"), parent), m_prefs(prefs)
{
    using namespace DialogControl;
    createLabel(AutosaveText, QStringLiteral("Autosave Every"));
    m_minutes = new QSpinBox(this);
    setBuddy(AutosaveText, m_minutes);
    m_minutes->setObjectName(QStringLiteral("minutes"));
    m_minutes->setGeometry(controlRect(Minutes));
    m_minutes->setRange(MinMinutes, MaxMinutes);
    m_minutes->setAlignment(Qt::AlignCenter);
    m_minutes->setValue(prefs.autosaveMinutes);
    createLabel(MinutesText, QStringLiteral("Minutes"));
    m_off = new QCheckBox(QStringLiteral("&Off"), this);
    m_off->setObjectName(QStringLiteral("off"));
    m_off->setGeometry(controlRect(Off));
    m_off->setChecked(prefs.autosaveOff != 0);
    createOkCancel();
    m_minutes->setFocus();
}

void AutosaveDialog::onCommand(int id)
{
    if (id != ControlId::Ok) {
        GlassDialog::onCommand(id);
        return;
    }
    m_closedWithOk = true;
    m_minutes->interpretText(); // a number typed but not yet taken
    if (m_off->isChecked()) {
        m_prefs.autosaveOff = 1;
        done(ResultOff);
        return;
    }
    m_prefs.autosaveOff = 0;
    m_prefs.autosaveMinutes = m_minutes->value();
    done(ResultOn);
}

} // namespace deskpanel
