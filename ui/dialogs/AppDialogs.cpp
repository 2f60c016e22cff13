#include "ui/dialogs/AppDialogs.h"

#include "app/DeskPanelApp.h"
#include "ui/dialogs/AutosaveDialog.h"
#include "ui/dialogs/ChannelNameDialog.h"
#include "ui/dialogs/IdentityCheckDialog.h"
#include "ui/dialogs/LinkGroupPopup.h"
#include "ui/dialogs/LinkMatrixDialog.h"
#include "ui/dialogs/MeterPreferencesDialog.h"
#include "ui/dialogs/NextMouseEventDropper.h"
#include "ui/dialogs/PreferencesDialog.h"
#include "ui/dialogs/SceneNameDialog.h"
#include "ui/dialogs/SystemStatusDialog.h"
#include "ui/dialogs/UnitNameDialog.h"
#include "ui/dialogs/UnitStatusDialog.h"

#include <QCursor>

namespace deskpanel {

AppDialogs::AppDialogs(DeskPanelApp& app, HelpOpener& help, QWidget* parent)
    : m_app(app), m_help(help), m_parent(parent)
{}

void AppDialogs::openChannelName(int channel)
{
    ChannelNameDialog dialog(m_app.project(), m_app.channels(), m_app.operatorPort(), channel, m_parent);
    dialog.exec();
    NextMouseEventDropper::arm();
}

void AppDialogs::openUnitName(int unit)
{
    UnitNameDialog dialog(m_app.project(), m_app.channels(), m_app.operatorPort(), unit, m_parent);
    dialog.exec();
}

void AppDialogs::openPreferences()
{
    PreferencesDialog dialog(
        m_app, [this] { openMeterPreferences(); }, [this] { openAutosave(); }, m_parent);
    dialog.exec();
}

void AppDialogs::openAutosave()
{
    AutosaveDialog dialog(m_app.project().prefs, m_parent);
    const int result = dialog.exec();
    if (result == AutosaveDialog::ResultOn)
        m_app.timers().start(TimerId::Autosave,
                             static_cast<std::uint32_t>(m_app.project().prefs.autosaveMinutes) * 60000u);
    else
        m_app.timers().stop(TimerId::Autosave);
    if (dialog.closedWithOk())
        m_app.channels().raiseDialogJustClosed();
}

void AppDialogs::openMeterPreferences()
{
    MeterPreferencesDialog dialog(m_app.project().prefs, m_app.channels(), m_parent);
    dialog.exec();
}

void AppDialogs::openLinkMatrix()
{
    LinkMatrixDialog dialog(
        m_app.project(), m_app.channels(), m_app.scenes(), m_app.operatorPort(), m_help,
        [this](int channel) { editChannelTitle(channel, {}); }, m_parent);
    dialog.exec();
}

void AppDialogs::openSystemStatus()
{
    SystemStatusDialog dialog(m_app.link(), m_app.operatorPort(), m_parent);
    dialog.exec();
}

void AppDialogs::openUnitStatus(int unit)
{
    UnitStatusDialog dialog(m_app.link(), m_app.channels(), m_app.operatorPort(), std::clamp(unit, 1, MaxUnits),
                            m_parent);
    dialog.exec();
}

void AppDialogs::openIdentityCheck()
{
    IdentityCheckDialog dialog(m_app.link(), m_app.link(), m_app.channels(), m_app.project(), m_app.operatorPort(),
                               m_parent);
    dialog.exec();
}

int AppDialogs::chooseLinkGroup(int, int checkedGroup)
{
    LinkGroupPopup popup(checkedGroup, m_parent);
    return popup.choose(QCursor::pos());
}

bool AppDialogs::editChannelTitle(int channel, const std::string&)
{
    ChannelNameDialog dialog(m_app.project(), m_app.channels(), m_app.operatorPort(), channel, m_parent);
    return dialog.exec() == DialogResult::Ok;
}

std::optional<NameAndNotes> AppDialogs::askNewScene(const NameAndNotes& initial)
{
    SceneNameDialog dialog(SceneNameDialog::Kind::NewScene, {}, initial, m_app.channels(), m_app.operatorPort(),
                           m_parent);
    if (dialog.exec() != DialogResult::Ok)
        return std::nullopt;
    return dialog.texts();
}

std::optional<NameAndNotes> AppDialogs::askRenameScene(const std::string& heading, const NameAndNotes& initial)
{
    SceneNameDialog dialog(SceneNameDialog::Kind::RenameScene, QString::fromStdString(heading), initial,
                           m_app.channels(), m_app.operatorPort(), m_parent);
    if (dialog.exec() != DialogResult::Ok)
        return std::nullopt;
    return dialog.texts();
}

} // namespace deskpanel
