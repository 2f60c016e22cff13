#include "tools/gallery/GalleryDialogs.h"

#include "app/DeskPanelApp.h"
#include "app/HelpOpener.h"
#include "core/unitlink/UnitPacket.h"
#include "tools/common/QuietApp.h"
#include "ui/dialogs/AutosaveDialog.h"
#include "ui/dialogs/ChannelNameDialog.h"
#include "ui/dialogs/IdentityCheckDialog.h"
#include "ui/dialogs/LinkGroupMembersDialog.h"
#include "ui/dialogs/LinkGroupNameDialog.h"
#include "ui/dialogs/LinkGroupPopup.h"
#include "ui/dialogs/LinkMatrixDialog.h"
#include "ui/dialogs/MeterPreferencesDialog.h"
#include "ui/dialogs/PreferencesDialog.h"
#include "ui/dialogs/SceneNameDialog.h"
#include "ui/dialogs/SystemStatusDialog.h"
#include "ui/dialogs/UnitNameDialog.h"
#include "ui/dialogs/UnitStatusDialog.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstring>

namespace Gallery {
namespace {

using namespace deskpanel;

// A status packet of a unit with normal supplies, as the unit would send it.
void hearUnit(UnitLink& link, int unit, std::uint8_t temperature)
{
    PacketBytes bytes{};
    std::memcpy(bytes.data(), "VLTA", 4);
    bytes[packet::Type] = 1;
    bytes[packet::UnitNumber] = static_cast<std::uint8_t>(unit);
    const std::uint8_t mac[6] = {0x00, 0x50, 0xC2, 0x10, 0x00, static_cast<std::uint8_t>(unit)};
    std::memcpy(bytes.data() + packet::Mac, mac, 6);
    bytes[packet::Mode] = 1;
    const std::uint8_t health[5] = {96, 120, 50, 33, temperature};
    std::memcpy(bytes.data() + packet::Monitor48V, health, 5);
    const Ipv4Endpoint from{(192u << 24) | (168u << 16) | (1u << 8) | static_cast<std::uint32_t>(100 + unit), 2001};
    for (int i = 0; i < 2; ++i)
        link.handleDatagram(bytes.data(), bytes.size(), from);
}

void settle(int ms)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

QPixmap shot(QWidget& w)
{
    w.setAttribute(Qt::WA_DontShowOnScreen);
    w.show();
    return w.grab();
}

} // namespace

std::vector<std::pair<QString, QPixmap>> renderDialogs()
{
    // Boxes a dialog raises while it is drawn are not shown.
    QuietApp quiet;
    DeskPanelApp& app = quiet.app();
    Operator& op = app.operatorPort();
    Project& project = app.project();
    ChannelControl& channels = app.channels();
    HelpOpener help{QStringLiteral("/nonexistent")};
    hearUnit(app.link(), 1, 40);
    hearUnit(app.link(), 2, 160); // too hot
    project.units[0].name = "Stage left";
    channels.setChannelText(2, "Kick", "inside, Beta 91");
    channels.linkGroups().setGroupText(1, "Drums", "");
    channels.linkGroups().setGroupText(2, "Choir", "");
    // Joined as the pop-up joins them (their links engaged); channel 6's link is then off.
    for (int c : {0, 1, 2, 3, 5, 8, 9, 10}) {
        project.live[static_cast<std::size_t>(c)].linkActive = 1;
        channels.linkGroups().joinLinkGroup(c, c < 8 ? 1 : 2);
    }
    project.live[5].linkButton = 0;

    std::vector<std::pair<QString, QPixmap>> out;
    const auto add = [&out](const char* name, QWidget& w) { out.emplace_back(QString::fromLatin1(name), shot(w)); };
    {
        ChannelNameDialog d(project, channels, op, 2);
        add("dialog_channelname", d);
    }
    {
        UnitNameDialog d(project, channels, op, 1);
        add("dialog_unitname", d);
    }
    {
        SceneNameDialog d(SceneNameDialog::Kind::NewScene, {}, {"Act 2", "full band"}, channels, op);
        add("dialog_newscene", d);
    }
    {
        SceneNameDialog d(SceneNameDialog::Kind::RenameScene, QStringLiteral("Enter a new name for the 'Act 2' scene"),
                          {"Act 2", ""}, channels, op);
        add("dialog_renamescene", d);
    }
    {
        PreferencesDialog d(app, {}, {});
        add("dialog_preferences", d);
    }
    {
        AutosaveDialog d(project.prefs);
        add("dialog_autosave", d);
    }
    {
        MeterPreferencesDialog d(project.prefs, channels);
        add("dialog_meterpreferences", d);
    }
    {
        LinkGroupPopup popup(1);
        add("dialog_linkgrouppopup", popup);
    }
    {
        LinkMatrixDialog d(project, channels, app.scenes(), op, help, {});
        add("dialog_linkmatrix", d);
    }
    {
        LinkGroupMembersDialog d(project, channels, op, help, 1);
        add("dialog_linkgroupmembers", d);
    }
    {
        LinkGroupNameDialog d(project, channels, op, 2);
        add("dialog_linkgroupname", d);
    }
    {
        SystemStatusDialog d(app.link(), op);
        d.setAttribute(Qt::WA_DontShowOnScreen);
        d.show();
        settle(SystemStatusDialog::FillDelayMs + 100);
        add("dialog_systemstatus", d);
    }
    {
        UnitStatusDialog d(app.link(), channels, op, 1);
        add("dialog_unitstatus", d);
        UnitStatusDialog hot(app.link(), channels, op, 2);
        add("dialog_unitstatus_abnormal", hot);
    }
    {
        IdentityCheckDialog d(app.link(), app.link(), channels, project, op);
        add("dialog_identitycheck", d);
    }
    return out;
}

} // namespace Gallery
