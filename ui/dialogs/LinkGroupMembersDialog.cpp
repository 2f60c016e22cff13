#include "ui/dialogs/LinkGroupMembersDialog.h"

#include "app/HelpOpener.h"
#include "core/host/Operator.h"
#include "core/model/ChannelControl.h"
#include "core/model/Project.h"
#include "core/model/Text.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/dialogs/AppDialogTemplates.h"

#include <QKeyEvent>
#include <QListWidget>

namespace deskpanel {

LinkGroupMembersDialog::LinkGroupMembersDialog(Project& project, ChannelControl& channels, Operator& op,
                                               HelpOpener& help, int group, QWidget* parent)
    : GlassDialog(DialogTemplates::linkGroupMembers(), QStringLiteral("Link Group Members"), parent),
      m_project(project),
      m_channels(channels),
      m_operator(op),
      m_help(help)
{
    using namespace DialogControl;
    const int g = std::clamp(group, 1, MaxLinkGroups);
    createLabel(MembersGroup, QStringLiteral("Link Group %1").arg(g));
    createLabel(MembersTitle, QString::fromStdString(project.linkGroups[static_cast<std::size_t>(g - 1)].title));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("members"));
    m_list->setGeometry(controlRect(MembersList));
    const LinkMembership& membership = channels.linkGroups().membership();
    for (int c = 0; c < MaxChannels; ++c) {
        if (!membership.isMember(c, g))
            continue;
        const std::string line =
            format("%03d %s", globalChannelNumber(c), project.channels[static_cast<std::size_t>(c)].name.c_str());
        auto* item = new QListWidgetItem(QString::fromStdString(line), m_list);
        item->setData(Qt::UserRole, c); // the channel itself, never read back from the text
    }
    connect(m_list, &QListWidget::itemDoubleClicked, this, &LinkGroupMembersDialog::showTitle);
    m_list->installEventFilter(this);
    createButton(ControlId::Ok, QStringLiteral("OK"), ImageRegistry::key(162));
}

void LinkGroupMembersDialog::showTitle(QListWidgetItem* item)
{
    const int channel = item->data(Qt::UserRole).toInt();
    if (!isValidChannel(channel))
        return;
    m_operator.message(format("Channel %d Title\n\n%s", globalChannelNumber(channel),
                              m_project.channels[static_cast<std::size_t>(channel)].name.c_str()));
}

void LinkGroupMembersDialog::onCommand(int id)
{
    if (id == ControlId::Ok) {
        m_channels.raiseDialogJustClosed();
        done(DialogResult::Ok);
    }
}

// The list takes typed letters for its own search; H and O belong to the dialog.
bool LinkGroupMembersDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text().toLower();
        if ((key->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier && (typed == "h" || typed == "o")) {
            keyPressEvent(key);
            return true;
        }
    }
    return GlassDialog::eventFilter(watched, event);
}

void LinkGroupMembersDialog::keyPressEvent(QKeyEvent* event)
{
    const QString typed = event->text().toLower();
    if ((event->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier) {
        if (typed == QLatin1String("h")) {
            m_help.openTopic(QString::fromLatin1(HelpOpener::LinkedChannelNamesTopic));
            return;
        }
        if (typed == QLatin1String("o")) {
            onCommand(ControlId::Ok);
            return;
        }
    }
    GlassDialog::keyPressEvent(event);
}

} // namespace deskpanel
