#include "ui/dialogs/MeterPreferencesDialog.h"

#include "core/model/ChannelControl.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>
#include <QSpinBox>

namespace deskpanel {

namespace {
using Display = MeterPreferencesForm::DisplayChoice;
using Hold = MeterPreferencesForm::HoldChoice;
// The radios in the order they stand, top to bottom.
constexpr Display displayOrder[4] = {Display::PeakOnly, Display::VuOnly, Display::PeakAndVu, Display::PeakOverVu};
const char* const displayTexts[4] = {"Peak Only", "VU Only", "Peak and VU", "Peak over VU"};
constexpr Hold holdOrder[4] = {Hold::ThreeSeconds, Hold::TenSeconds, Hold::Infinite, Hold::Off};
const char* const holdTexts[4] = {"3 Sec", "10 Sec", "Infinite", "Off"};

QComboBox* makeList(QWidget* parent, const QRect& rect, const auto& texts, int selected, const QString& name)
{
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->setGeometry(rect);
    for (const char* text : texts)
        list->addItem(QString::fromLatin1(text));
    list->setCurrentIndex(selected);
    return list;
}
} // namespace

MeterPreferencesDialog::MeterPreferencesDialog(ProjectPrefs& prefs, ChannelControl& channels, QWidget* parent)
    : GlassDialog(DialogTemplates::meterPreferences(), QStringLiteral("Meter Preferences"), parent),
      m_prefs(prefs),
      m_channels(channels)
{
    using namespace DialogControl;
    // The form brings damaged values onto the controls: every list shows a valid entry.
    const MeterPreferencesForm form = MeterPreferencesForm::open(prefs);
    createLabel(ScaleLabel, QStringLiteral("Meter Scale"));
    auto* scale = new QButtonGroup(this);
    m_dbu = addRadio(Dbu, QStringLiteral("dBU"), form.dbuScale);
    scale->addButton(m_dbu);
    scale->addButton(addRadio(Dbfs, QStringLiteral("dBFS"), !form.dbuScale));
    m_dbuList = makeList(this, controlRect(DbuList), MeterPreferencesForm::DbuMaxLevelTexts, form.dbuMaxLevelIndex,
                         QStringLiteral("dbuList"));
    createLabel(DbuLabel, QStringLiteral("dBU (Max Level)"));
    setBuddy(DbuLabel, m_dbuList);
    m_dbfsList = makeList(this, controlRect(DbfsList), MeterPreferencesForm::DbfsReferenceTexts,
                          form.dbfsReferenceIndex, QStringLiteral("dbfsList"));
    createLabel(DbfsLabel, QStringLiteral("dBFS (Reference Level)"));
    setBuddy(DbfsLabel, m_dbfsList);

    createLabel(DisplayLabel, QStringLiteral("Meter Display"));
    auto* display = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        m_display[i] =
            addRadio(DisplayFirst + i, QString::fromLatin1(displayTexts[i]), form.display == displayOrder[i]);
        display->addButton(m_display[i]);
    }
    createLabel(HoldLabel, QStringLiteral("Peak Hold Time"));
    auto* hold = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        m_hold[i] = addRadio(HoldFirst + i, QString::fromLatin1(holdTexts[i]), form.hold == holdOrder[i]);
        hold->addButton(m_hold[i]);
    }
    createLabel(RedZoneLabel, QStringLiteral("Red Zone Threshold"));
    m_redZone = new QSpinBox(this);
    setBuddy(RedZoneLabel, m_redZone);
    m_redZone->setObjectName(QStringLiteral("redZone"));
    m_redZone->setGeometry(controlRect(RedZone));
    m_redZone->setRange(MeterPreferencesForm::MinRedZoneThreshold, MeterPreferencesForm::MaxRedZoneThreshold);
    m_redZone->setValue(form.redZoneThreshold);
    createLabel(RedZoneUnit, QStringLiteral("dB"));
    createButton(ControlId::Ok, QStringLiteral("&OK"), ImageRegistry::key(162));
    createButton(ControlId::Cancel, QStringLiteral("&Cancel"), ImageRegistry::key(162));
}

QRadioButton* MeterPreferencesDialog::addRadio(int id, const QString& text, bool checked)
{
    auto* radio = new QRadioButton(text, this);
    radio->setObjectName(QStringLiteral("radio%1").arg(id));
    radio->setGeometry(controlRect(id));
    radio->setChecked(checked);
    return radio;
}

MeterPreferencesForm MeterPreferencesDialog::form() const
{
    MeterPreferencesForm form;
    form.dbuScale = m_dbu->isChecked();
    form.dbuMaxLevelIndex = m_dbuList->currentIndex();
    form.dbfsReferenceIndex = m_dbfsList->currentIndex();
    for (int i = 0; i < 4; ++i) {
        if (m_display[i]->isChecked())
            form.display = displayOrder[i];
        if (m_hold[i]->isChecked())
            form.hold = holdOrder[i];
    }
    form.redZoneThreshold = m_redZone->value();
    return form;
}

void MeterPreferencesDialog::onCommand(int id)
{
    if (id == ControlId::Ok) {
        m_redZone->interpretText();
        form().applyTo(m_prefs);
        m_channels.raiseDialogJustClosed();
        m_channels.notifyMeterPreferencesChanged();
        done(DialogResult::Ok);
    } else if (id == ControlId::Cancel) {
        m_channels.raiseDialogJustClosed();
        done(DialogResult::Cancel);
    }
}

} // namespace deskpanel
