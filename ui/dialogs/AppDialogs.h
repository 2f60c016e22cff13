#pragma once
#include "core/host/NamingDialogs.h"
#include "core/model/ChannelStripDialogs.h"
#include "ui/dialogs/DialogLauncher.h"

#include <QPointer>
#include <QWidget>

namespace deskpanel {

class DeskPanelApp;
class HelpOpener;

// Every dialog of the program, opened over `parent` (the main window): the commands of
// the menus and the strips (DialogLauncher), the strips' link group pop-up and channel
// title (ChannelStripDialogs) and the scenes' New Scene and Rename Scene dialogs.
class AppDialogs : public DialogLauncher, public ChannelStripDialogs, public SceneNamingDialogs {
public:
    AppDialogs(DeskPanelApp& app, HelpOpener& help, QWidget* parent);

    void openChannelName(int channel) override;
    void openUnitName(int unit) override;
    void openPreferences() override;
    void openAutosave() override;
    void openMeterPreferences() override;
    void openLinkMatrix() override;
    void openSystemStatus() override;
    void openUnitStatus(int unit) override;
    void openIdentityCheck() override;

    int chooseLinkGroup(int channel, int checkedGroup) override;
    bool editChannelTitle(int channel, const std::string& heading) override;

    std::optional<NameAndNotes> askNewScene(const NameAndNotes& initial) override;
    std::optional<NameAndNotes> askRenameScene(const std::string& heading, const NameAndNotes& initial) override;

private:
    DeskPanelApp& m_app;
    HelpOpener& m_help;
    QPointer<QWidget> m_parent;
};

} // namespace deskpanel
