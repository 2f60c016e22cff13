#pragma once
#include "ui/controls/GlassDialog.h"

#include <functional>

class QAbstractButton;
class QCheckBox;
class QRadioButton;

namespace deskpanel {

class DeskPanelApp;

// The operator's settings. Every control acts at once; there is no Cancel, and OK (or a
// typed O) only closes. "&Metering..." and "&Autosave..." open their dialogs through
// the given calls.
class PreferencesDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int Rates[5] = {50, 100, 200, 500, 1000};

    PreferencesDialog(DeskPanelApp& app, std::function<void()> openMetering, std::function<void()> openAutosave,
                      QWidget* parent = nullptr);

protected:
    void onCommand(int id) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // How far a caption may be set narrower to fit its panel (percent).
    static constexpr int MinimumStretch = 85;

    QCheckBox* addCheck(int id, const QString& text, bool checked, std::function<void(bool)> toggled);
    // Puts the check or radio box `id` in place, its caption whole up to `rightLimit`.
    void placeCaption(QAbstractButton* button, int id, int rightLimit);
    void chooseRate(int index);

    DeskPanelApp& m_app;
    std::function<void()> m_openMetering;
    std::function<void()> m_openAutosave;
    QRadioButton* m_rates[5] = {};
};

} // namespace deskpanel
