#pragma once
#include "core/model/MeterPreferencesForm.h"
#include "ui/controls/GlassDialog.h"

class QComboBox;
class QRadioButton;
class QSpinBox;

namespace deskpanel {

class ChannelControl;

// The meter scale, display mode, peak hold time and red zone threshold. OK (or Enter)
// writes them into the preferences and tells the views; Cancel changes nothing. Both
// closing buttons raise the dialog-just-closed flag.
class MeterPreferencesDialog : public GlassDialog {
    Q_OBJECT
public:
    MeterPreferencesDialog(ProjectPrefs& prefs, ChannelControl& channels, QWidget* parent = nullptr);

    // What the controls show now.
    MeterPreferencesForm form() const;

protected:
    void onCommand(int id) override;

private:
    QRadioButton* addRadio(int id, const QString& text, bool checked);

    ProjectPrefs& m_prefs;
    ChannelControl& m_channels;
    QRadioButton* m_dbu = nullptr;
    QComboBox* m_dbuList = nullptr;
    QComboBox* m_dbfsList = nullptr;
    QRadioButton* m_display[4] = {};
    QRadioButton* m_hold[4] = {};
    QSpinBox* m_redZone = nullptr;
};

} // namespace deskpanel
