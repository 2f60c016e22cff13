#pragma once
#include <QObject>
#include <QString>

namespace deskpanel {

class DeskPanelApp;
class DialogLauncher;
class HelpOpener;
class ProjectCommands;
class SafetyDialogs;
class ChannelSettingsCommands;
class RemoteEndpoint;
class StageServer;

// Every command of the menu bar and the accelerator table, in one place so the menus, the
// keys and the scene-list routing run the same code.
class MainCommands {
public:
    static constexpr const char* IpAddressText = "This computer's IP Address is: %s";

    MainCommands(DeskPanelApp& app, ProjectCommands& project, DialogLauncher& dialogs, HelpOpener& help,
                 RemoteEndpoint& remote, QWidget* window);

    ProjectCommands& project() { return m_project; }
    DialogLauncher& dialogs() { return m_dialogs; }

    void undo();
    void redo();
    // The recall safety dialogs (none: the commands do nothing).
    void setSafetyDialogs(SafetyDialogs* safety) { m_safety = safety; }
    void openRecallSafes();
    void openRecallAndSafety();
    // Copy, paste and presets of channel settings (none: the commands do nothing).
    void setChannelSettings(ChannelSettingsCommands* settings) { m_channelSettings = settings; }
    void copyChannelSettings();
    void pasteChannelSettings();
    void channelPresets();
    void setMuteLinkedChannels(bool on);
    void showIpAddress();
    void quickReference();
    void userGuide();
    void about();
    void remoteControl();
    // The Stage Remote's server (none: the command does nothing).
    void setStageServer(StageServer* server) { m_stage = server; }
    bool hasStageRemote() const { return m_stage != nullptr; }
    void stageRemote();

private:
    DeskPanelApp& m_app;
    ProjectCommands& m_project;
    DialogLauncher& m_dialogs;
    HelpOpener& m_help;
    RemoteEndpoint& m_remote;
    QWidget* m_window;
    SafetyDialogs* m_safety = nullptr;
    ChannelSettingsCommands* m_channelSettings = nullptr;
    StageServer* m_stage = nullptr;
};

} // namespace deskpanel
