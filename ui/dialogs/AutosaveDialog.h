#pragma once
#include "ui/controls/GlassDialog.h"

class QCheckBox;
class QSpinBox;

namespace deskpanel {

struct ProjectPrefs;

// The autosave interval, 1..60 minutes, or off. OK (or Enter) stores it and gives 1
// when autosave is on, 2 when "&Off" is ticked; Cancel gives 2 and stores nothing.
class AutosaveDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int MinMinutes = 1;
    static constexpr int MaxMinutes = 60;
    static constexpr int ResultOn = 1;
    static constexpr int ResultOff = 2;

    explicit AutosaveDialog(ProjectPrefs& prefs, QWidget* parent = nullptr);

    bool closedWithOk() const { return m_closedWithOk; }

protected:
    void onCommand(int id) override;

private:
    ProjectPrefs& m_prefs;
    QSpinBox* m_minutes = nullptr;
    QCheckBox* m_off = nullptr;
    bool m_closedWithOk = false;
};

} // namespace deskpanel
