#include "ui/dialogs/SafetyDialogs.h"

#include "app/DeskPanelApp.h"
#include "ui/dialogs/RecallSafesDialog.h"
#include "ui/dialogs/RecallSafetyDialog.h"

namespace deskpanel {

SafetyDialogs::SafetyDialogs(DeskPanelApp& app, std::string profilePath, QWidget* parent)
    : m_app(app), m_profilePath(std::move(profilePath)), m_parent(parent), m_preview(parent)
{
    m_app.scenes().setChangeListDialog(&m_preview);
}

SafetyDialogs::~SafetyDialogs()
{
    m_app.scenes().setChangeListDialog(nullptr);
}

void SafetyDialogs::applyStoredSettings()
{
    apply(SafetySettings::read(m_profilePath));
}

void SafetyDialogs::apply(const SafetySettings& settings)
{
    m_settings = settings;
    m_app.scenes().setPreviewRecall(settings.previewSceneRecall);
    m_app.channels().setConfirmPhantomOn(settings.confirm48VOn);
}

void SafetyDialogs::openRecallSafes()
{
    RecallSafesDialog dialog(m_app.project(), m_app.channels(), m_parent);
    dialog.exec();
}

void SafetyDialogs::openRecallAndSafety()
{
    RecallSafetyDialog dialog(m_settings, m_parent);
    if (dialog.exec() != DialogResult::Ok)
        return;
    apply(dialog.settings());
    if (!m_settings.write(m_profilePath))
        m_app.operatorPort().platformMessage("Failed to write file " + m_profilePath);
}

} // namespace deskpanel
