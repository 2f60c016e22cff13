#pragma once
#include "core/persistence/SafetySettings.h"
#include "ui/dialogs/ChangeListBox.h"

#include <string>

class QWidget;

namespace deskpanel {

class DeskPanelApp;

// The recall safety commands of the main window: the Recall Safes matrix, the Recall
// and Safety settings (kept in the program's own profile and applied to the scene
// operations and the 48 V guard), and the recall preview the scene operations show.
class SafetyDialogs {
public:
    SafetyDialogs(DeskPanelApp& app, std::string profilePath, QWidget* parent);
    ~SafetyDialogs();
    SafetyDialogs(const SafetyDialogs&) = delete;
    SafetyDialogs& operator=(const SafetyDialogs&) = delete;

    // Reads the settings from the profile and applies them (start-up).
    void applyStoredSettings();
    void apply(const SafetySettings& settings);

    void openRecallSafes();
    void openRecallAndSafety();

private:
    DeskPanelApp& m_app;
    std::string m_profilePath;
    QWidget* m_parent;
    QtChangeListDialog m_preview;
    SafetySettings m_settings;
};

} // namespace deskpanel
