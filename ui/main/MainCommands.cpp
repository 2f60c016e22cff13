#include "ui/main/MainCommands.h"

#include "app/DeskPanelApp.h"
#include "app/HelpOpener.h"
#include "core/model/Text.h"
#include "ui/dialogs/AboutBox.h"
#include "ui/dialogs/RemoteControlDialog.h"
#ifdef DESKPANEL_STAGE_REMOTE
#include "ui/stage/StageRemoteDialog.h"
#endif
#include "ui/dialogs/SafetyDialogs.h"
#include "ui/main/ChannelSettingsCommands.h"

#include <QCoreApplication>

namespace deskpanel {

MainCommands::MainCommands(DeskPanelApp& app, ProjectCommands& project, DialogLauncher& dialogs, HelpOpener& help,
                           RemoteEndpoint& remote, QWidget* window)
    : m_app(app), m_project(project), m_dialogs(dialogs), m_help(help), m_remote(remote), m_window(window)
{}

void MainCommands::undo()
{
    m_app.channels().undo();
}

void MainCommands::redo()
{
    m_app.channels().redo();
}

void MainCommands::openRecallSafes()
{
    if (m_safety)
        m_safety->openRecallSafes();
}

void MainCommands::openRecallAndSafety()
{
    if (m_safety)
        m_safety->openRecallAndSafety();
}

void MainCommands::copyChannelSettings()
{
    if (m_channelSettings)
        m_channelSettings->copy();
}

void MainCommands::pasteChannelSettings()
{
    if (m_channelSettings)
        m_channelSettings->paste();
}

void MainCommands::channelPresets()
{
    if (m_channelSettings)
        m_channelSettings->openPresets();
}

void MainCommands::setMuteLinkedChannels(bool on)
{
    m_app.channels().setMuteLinkedChannels(on);
}

void MainCommands::showIpAddress()
{
    m_app.operatorPort().message(format(IpAddressText, m_app.link().localIpText().c_str()));
}

void MainCommands::quickReference()
{
    m_help.openDocument(QString::fromLatin1(HelpOpener::QuickStart));
}

void MainCommands::userGuide()
{
    m_help.openDocument(QString::fromLatin1(HelpOpener::UserGuide));
}

void MainCommands::about()
{
    AboutBox box(QCoreApplication::applicationVersion(), m_window);
    box.exec();
}

void MainCommands::remoteControl()
{
    RemoteControlDialog dialog(m_remote, m_window);
    dialog.exec();
}

void MainCommands::stageRemote()
{
#ifdef DESKPANEL_STAGE_REMOTE
    if (!m_stage)
        return;
    StageRemoteDialog dialog(*m_stage, m_window);
    dialog.exec();
#endif
}

} // namespace deskpanel
