#pragma once
#include "core/persistence/SafetySettings.h"
#include "ui/controls/GlassDialog.h"

class QCheckBox;

namespace deskpanel {

// Setup > "Recall and Safety...": "Preview scene recall" and "Confirm 48 V on", with
// "&OK" and "&Cancel". The caller stores and applies what OK leaves in settings().
class RecallSafetyDialog : public GlassDialog {
    Q_OBJECT
public:
    RecallSafetyDialog(const SafetySettings& settings, QWidget* parent = nullptr);
    SafetySettings settings() const;
    QCheckBox* previewBox() const { return m_preview; }
    QCheckBox* confirmBox() const { return m_confirm; }

private:
    QCheckBox* m_preview = nullptr;
    QCheckBox* m_confirm = nullptr;
};

} // namespace deskpanel
