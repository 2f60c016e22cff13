#include "ui/dialogs/RemoteControlDialog.h"

#include "app/RemoteEndpoint.h"
#include "ui/dialogs/ListenChoices.h"

#include <QCheckBox>
#include <QComboBox>

#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

namespace deskpanel {
namespace {

enum Control {
    Enable = 1170,
    PortLabel,
    Port,
    HostsLabel,
    Hosts,
    Phantom,
    Status,
    ListenLabel,
    Listen,
    HostsNote,
};

// A dialog of its own, beyond the program's first layouts, drawn in the same look.
const DialogTemplate& remoteControlLayout()
{
    static const DialogTemplate t{QStringLiteral("remote"),
                                  QSize(220, 212),
                                  QStringLiteral("Microsoft Sans Serif"),
                                  80,
                                  {{ControlId::Header, QRect(33, 0, 178, 18)},
                                   {Enable, QRect(16, 26, 188, 10)},
                                   {PortLabel, QRect(16, 43, 50, 8)},
                                   {Port, QRect(70, 41, 44, 12)},
                                   {ListenLabel, QRect(16, 59, 50, 8)},
                                   {Listen, QRect(70, 57, 134, 12)},
                                   {HostsLabel, QRect(16, 74, 120, 8)},
                                   {Hosts, QRect(16, 84, 188, 12)},
                                   {HostsNote, QRect(16, 98, 188, 26)},
                                   {Phantom, QRect(16, 126, 188, 10)},
                                   {Status, QRect(16, 142, 188, 44)},
                                   {ControlId::Ok, QRect(70, 192, 36, 12)},
                                   {ControlId::Cancel, QRect(112, 192, 36, 12)},
                                   {ControlId::LeftCorner, QRect(0, 0, 18, 18)}}};
    return t;
}

} // namespace

RemoteControlDialog::RemoteControlDialog(RemoteEndpoint& endpoint, QWidget* parent)
    : GlassDialog(remoteControlLayout(), QStringLiteral("Remote Control"), parent), m_endpoint(endpoint)
{
    const RemoteSettings& settings = endpoint.settings();
    m_enabled = new QCheckBox(QStringLiteral("Enable remote control (OSC)"), this);
    m_enabled->setObjectName(QStringLiteral("enabled"));
    m_enabled->setGeometry(controlRect(Enable));
    m_enabled->setChecked(settings.enabled);
    createLabel(PortLabel, QStringLiteral("UDP port"));
    m_port = new QSpinBox(this);
    setBuddy(PortLabel, m_port);
    m_port->setObjectName(QStringLiteral("port"));
    m_port->setGeometry(controlRect(Port));
    m_port->setRange(1, 65535);
    m_port->setValue(settings.port);
    QLabel* listenLabel = createLabel(ListenLabel, QStringLiteral("Listen on"));
    m_listen = new QComboBox(this);
    m_listen->setObjectName(QStringLiteral("listen"));
    m_listen->setGeometry(controlRect(Listen));
    addListenChoices(m_listen, settings.listen, true);
    listenLabel->setBuddy(m_listen);
    createLabel(HostsLabel, QStringLiteral("Allowed hosts"));
    m_hosts = new QLineEdit(QString::fromStdString(settings.allowedHosts), this);
    setBuddy(HostsLabel, m_hosts);
    m_hosts->setObjectName(QStringLiteral("hosts"));
    m_hosts->setGeometry(controlRect(Hosts));
    m_hosts->setPlaceholderText(QStringLiteral("this computer only"));
    QLabel* note = createLabel(HostsNote, QString::fromLatin1(HostsNoteText));
    note->setObjectName(QStringLiteral("hostsNote"));
    note->setWordWrap(true);
    m_phantom = new QCheckBox(QStringLiteral("Allow 48 V from remote"), this);
    m_phantom->setObjectName(QStringLiteral("phantom"));
    m_phantom->setGeometry(controlRect(Phantom));
    m_phantom->setChecked(settings.allowPhantom);
    m_status = createLabel(Status, {});
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    createOkCancel();

    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, [this] { showStatus(); });
    refresh->start(StatusRefreshMs);
    connect(&m_endpoint, &RemoteEndpoint::statusChanged, this, [this] { showStatus(); });
    showStatus();
}

QString RemoteControlDialog::statusText() const
{
    QStringList lines;
    if (!m_problem.isEmpty())
        lines << m_problem;
    if (m_endpoint.isListening())
        lines << QStringLiteral("Listening on %1").arg(m_endpoint.listeningText());
    else if (!m_endpoint.bindError().isEmpty())
        lines << QStringLiteral("Cannot use port %1: %2 (trying again)")
                     .arg(m_endpoint.settings().port)
                     .arg(m_endpoint.bindError());
    else
        lines << QStringLiteral("Not listening");
    QStringList subscribers;
    for (const Ipv4Endpoint& s : m_endpoint.control().subscribers())
        subscribers << QStringLiteral("%1:%2").arg(QString::fromStdString(ipv4Text(s.address))).arg(s.port);
    lines << QStringLiteral("Subscribers: %1")
                 .arg(subscribers.isEmpty() ? QStringLiteral("none") : subscribers.join(", "));
    const RemoteControl::Counts& counts = m_endpoint.control().counts();
    lines << QStringLiteral("Refused: %1   Dropped: %2 not allowed, %3 over the rate")
                 .arg(counts.refused)
                 .arg(counts.droppedNotAllowed)
                 .arg(counts.droppedOverRate);
    return lines.join('\n');
}

void RemoteControlDialog::showStatus()
{
    m_status->setText(statusText());
}

void RemoteControlDialog::onCommand(int id)
{
    if (id != ControlId::Ok) {
        GlassDialog::onCommand(id);
        return;
    }
    m_port->interpretText(); // a number typed but not yet taken
    RemoteSettings settings;
    settings.enabled = m_enabled->isChecked();
    settings.port = static_cast<std::uint16_t>(m_port->value());
    settings.allowedHosts = m_hosts->text().trimmed().toStdString();
    settings.allowPhantom = m_phantom->isChecked();
    settings.listen = m_listen->currentData().toString().toStdString();
    std::string error;
    if (!parseAllowedHosts(settings.allowedHosts, error)) {
        m_problem = QStringLiteral("Allowed hosts: %1").arg(QString::fromStdString(error));
        showStatus();
        m_hosts->setFocus();
        return;
    }
    if (!m_endpoint.store(settings)) {
        m_problem = QStringLiteral("The settings could not be stored; they apply until DeskPanel ends.");
        showStatus();
        return;
    }
    GlassDialog::onCommand(id);
}

} // namespace deskpanel
