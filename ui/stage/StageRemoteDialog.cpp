#include "ui/stage/StageRemoteDialog.h"

#include "app/stage/StageServer.h"
#include "ui/controls/GlassButton.h"
#include "ui/dialogs/ListenChoices.h"
#include "ui/dialogs/QtFileDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QSpinBox>
#include <QTimer>

#include <qrcodegen/qrcodegen.hpp>

namespace deskpanel {
namespace {

enum Control {
    Enable = 1190,
    PortLabel,
    Port,
    ListenLabel,
    Listen,
    Phantom,
    Address,
    Qr,
    DevicesLabel,
    Devices,
    Revoke,
    PermissionLabel,
    Permission,
    Pair,
    Code,
    Status,
    CertificateLabel,
    Certificate,
    CertificateBrowse,
    KeyLabel,
    Key,
    KeyBrowse,
};

const DialogTemplate& stageRemoteLayout()
{
    static const DialogTemplate t{QStringLiteral("stage"),
                                  QSize(260, 338),
                                  QStringLiteral("Microsoft Sans Serif"),
                                  80,
                                  {{ControlId::Header, QRect(33, 0, 218, 18)},
                                   {Enable, QRect(16, 26, 228, 10)},
                                   {PortLabel, QRect(16, 43, 50, 8)},
                                   {Port, QRect(70, 41, 44, 12)},
                                   {ListenLabel, QRect(16, 59, 50, 8)},
                                   {Listen, QRect(70, 57, 174, 12)},
                                   {Phantom, QRect(16, 74, 228, 10)},
                                   {CertificateLabel, QRect(16, 91, 52, 8)},
                                   {Certificate, QRect(70, 89, 126, 12)},
                                   {CertificateBrowse, QRect(200, 88, 44, 14)},
                                   {KeyLabel, QRect(16, 107, 52, 8)},
                                   {Key, QRect(70, 105, 126, 12)},
                                   {KeyBrowse, QRect(200, 104, 44, 14)},
                                   {Address, QRect(16, 122, 152, 60)},
                                   {Qr, QRect(176, 120, 68, 68)},
                                   {DevicesLabel, QRect(16, 192, 150, 8)},
                                   {Devices, QRect(16, 202, 178, 48)},
                                   {Revoke, QRect(200, 202, 44, 14)},
                                   {PermissionLabel, QRect(16, 258, 60, 8)},
                                   {Permission, QRect(78, 256, 76, 12)},
                                   {Pair, QRect(160, 255, 84, 14)},
                                   {Code, QRect(16, 272, 228, 16)},
                                   {Status, QRect(16, 290, 228, 26)},
                                   {ControlId::Ok, QRect(90, 320, 36, 12)},
                                   {ControlId::Cancel, QRect(132, 320, 36, 12)},
                                   {ControlId::LeftCorner, QRect(0, 0, 18, 18)}}};
    return t;
}

} // namespace

QImage qrCodeImage(const QString& text, int size)
{
    const QByteArray utf8 = text.toUtf8();
    try {
        const qrcodegen::QrCode code = qrcodegen::QrCode::encodeText(utf8.constData(), qrcodegen::QrCode::Ecc::MEDIUM);
        constexpr int QuietModules = 4;
        const int modules = code.getSize() + 2 * QuietModules;
        QImage image(size, size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        const double scale = static_cast<double>(size) / modules;
        for (int y = 0; y < code.getSize(); ++y)
            for (int x = 0; x < code.getSize(); ++x)
                if (code.getModule(x, y))
                    painter.fillRect(QRectF((x + QuietModules) * scale, (y + QuietModules) * scale, scale, scale),
                                     Qt::black);
        return image;
    } catch (const qrcodegen::data_too_long&) {
        return {};
    }
}

StageRemoteDialog::StageRemoteDialog(StageServer& server, QWidget* parent)
    : GlassDialog(stageRemoteLayout(), QStringLiteral("Stage Remote"), parent), m_server(server)
{
    const StageSettings& settings = server.settings();
    m_enabled = new QCheckBox(QStringLiteral("Enable Stage Remote"), this);
    m_enabled->setObjectName(QStringLiteral("enabled"));
    m_enabled->setGeometry(controlRect(Enable));
    m_enabled->setChecked(settings.enabled);
    createLabel(PortLabel, QStringLiteral("Port"));
    m_port = new QSpinBox(this);
    setBuddy(PortLabel, m_port);
    m_port->setObjectName(QStringLiteral("port"));
    m_port->setGeometry(controlRect(Port));
    m_port->setRange(1, 65535);
    m_port->setValue(settings.port);
    createLabel(ListenLabel, QStringLiteral("Listen on"));
    m_listen = new QComboBox(this);
    setBuddy(ListenLabel, m_listen);
    m_listen->setObjectName(QStringLiteral("listen"));
    m_listen->setAccessibleName(QStringLiteral("Listen on"));
    m_listen->setGeometry(controlRect(Listen));
    addListenChoices(m_listen, settings.listen, false);
    m_phantom = new QCheckBox(QStringLiteral("Allow 48 V from the page"), this);
    m_phantom->setObjectName(QStringLiteral("phantom"));
    m_phantom->setGeometry(controlRect(Phantom));
    m_phantom->setChecked(settings.allowPhantom);
    m_certificate = createFileChoice(CertificateLabel, QStringLiteral("Certificate"), Certificate, CertificateBrowse,
                                     settings.certificate);
    m_key = createFileChoice(KeyLabel, QStringLiteral("Key"), Key, KeyBrowse, settings.key);

    m_address = createLabel(Address, {});
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setWordWrap(true);
    m_address->setText(NotServingText);
    m_address->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_qr = createLabel(Qr, {}, Qt::AlignCenter);
    m_qr->setObjectName(QStringLiteral("qr"));
    m_qr->setAccessibleName(QStringLiteral("QR code of the page's address"));

    createLabel(DevicesLabel, QStringLiteral("Paired devices"));
    m_devices = new QListWidget(this);
    setBuddy(DevicesLabel, m_devices);
    m_devices->setObjectName(QStringLiteral("devices"));
    m_devices->setAccessibleName(QStringLiteral("Paired devices"));
    m_devices->setGeometry(controlRect(Devices));
    createButton(Revoke, QStringLiteral("Re&voke"), QStringLiteral("162"));

    createLabel(PermissionLabel, QStringLiteral("New device may"));
    m_permission = new QComboBox(this);
    setBuddy(PermissionLabel, m_permission);
    m_permission->setObjectName(QStringLiteral("permission"));
    m_permission->setAccessibleName(QStringLiteral("New device may"));
    m_permission->setGeometry(controlRect(Permission));
    m_permission->addItem(QStringLiteral("view only"), static_cast<int>(StagePermission::View));
    m_permission->addItem(QStringLiteral("control"), static_cast<int>(StagePermission::Control));
    m_permission->addItem(QStringLiteral("control and recall"), static_cast<int>(StagePermission::Recall));
    createButton(Pair, QStringLiteral("&Pair a Device..."), QStringLiteral("162"));
    m_code = createLabel(Code, {}, Qt::AlignLeft | Qt::AlignVCenter);
    m_code->setObjectName(QStringLiteral("code"));
    m_code->setAccessibleName(QStringLiteral("Pairing code"));
    QFont big = m_code->font();
    if (big.pointSizeF() > 0)
        big.setPointSizeF(big.pointSizeF() * 1.6);
    else
        big.setPixelSize(big.pixelSize() * 8 / 5);
    big.setBold(true);
    m_code->setFont(big);

    m_status = createLabel(Status, {});
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setWordWrap(true);
    createOkCancel();

    auto* refresh = new QTimer(this);
    connect(refresh, &QTimer::timeout, this, [this] { showStatus(); });
    refresh->start(StatusRefreshMs);
    connect(&m_server, &StageServer::statusChanged, this, [this] {
        showDevices();
        showStatus();
    });
    showDevices();
    showStatus();
}

QLineEdit* StageRemoteDialog::createFileChoice(int labelId, const QString& label, int fieldId, int browseId,
                                               const std::string& path)
{
    createLabel(labelId, label);
    auto* field = new QLineEdit(QString::fromStdString(path), this);
    setBuddy(labelId, field);
    field->setObjectName(label.toLower());
    field->setAccessibleName(label);
    field->setPlaceholderText(QStringLiteral("none: plain HTTP"));
    field->setGeometry(controlRect(fieldId));
    GlassButton* browse = createButton(browseId, QStringLiteral("Browse..."), QStringLiteral("162"));
    browse->setAccessibleName(QStringLiteral("Choose the %1 file").arg(label.toLower()));
    return field;
}

void StageRemoteDialog::chooseFile(QLineEdit* field, const QString& what)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Stage Remote %1 (PEM)").arg(what).toStdString();
    request.filterName = "PEM files (*.pem *.crt *.cer *.key);;All files (*)";
    request.startPath = field->text().toStdString();
    request.mustExist = true;
    if (const std::optional<std::string> path = QtFileDialogs(this).askOpen(request))
        field->setText(QString::fromStdString(*path));
}

QString StageRemoteDialog::pairingCode() const
{
    return m_server.pairing().isOpen() ? QString::fromStdString(m_server.pairing().code()) : QString();
}

int StageRemoteDialog::selectedDevice() const
{
    // The selection, not the current row: a screen reader selects a line without moving
    // the current one, and Revoke must act on the line it read out.
    const QList<QListWidgetItem*> selected = m_devices->selectedItems();
    return selected.isEmpty() ? -1 : m_devices->row(selected.front());
}

void StageRemoteDialog::showDevices()
{
    const int row = selectedDevice();
    m_devices->clear();
    for (const StageDevice& device : m_server.settings().devices)
        m_devices->addItem(QStringLiteral("%1 (%2)")
                               .arg(QString::fromStdString(device.name))
                               .arg(QString::fromLatin1(permissionText(device.permission).data())));
    m_devices->setCurrentRow(std::min(row, m_devices->count() - 1));
}

QString StageRemoteDialog::statusText() const
{
    QStringList lines;
    if (!m_problem.isEmpty())
        lines << m_problem;
    if (m_server.isListening())
        lines << QStringLiteral("Pages open: %1   Refused: %2").arg(m_server.pageCount()).arg(m_server.refusals());
    else if (!m_server.startError().isEmpty())
        lines << m_server.startError();
    else
        lines << QStringLiteral("Not listening");
    return lines.join('\n');
}

void StageRemoteDialog::showStatus()
{
    m_status->setText(statusText());
    const QString address = m_server.pageAddress();
    if (address != m_shownAddress) {
        m_shownAddress = address;
        if (address.isEmpty()) {
            m_address->setText(NotServingText);
            m_qr->setPixmap({});
        } else {
            m_address->setText(QStringLiteral("Open %1 on the phone or tablet.\n%2")
                                   .arg(address, m_server.isHttps() ? HttpsNoteText : TrustNoteText));
            m_qr->setPixmap(QPixmap::fromImage(qrCodeImage(address, controlRect(Qr).width())));
        }
    }
    const QString code = pairingCode();
    m_code->setText(code.isEmpty()
                        ? QString()
                        : QStringLiteral("Code: %1  (%2 s left)").arg(code).arg(m_server.pairing().secondsLeft()));
    // A screen reader reads the label by its name, "Pairing code", then the code digit by digit.
    const QString spoken = code.isEmpty() ? QStringLiteral("none open") : code.split(QString()).join(' ').trimmed();
    if (m_code->accessibleDescription() != spoken)
        m_code->setAccessibleDescription(spoken);
}

void StageRemoteDialog::onCommand(int id)
{
    if (id == CertificateBrowse || id == KeyBrowse) {
        chooseFile(id == KeyBrowse ? m_key : m_certificate,
                   id == KeyBrowse ? QStringLiteral("key") : QStringLiteral("certificate"));
        return;
    }
    if (id == Pair) {
        m_server.openPairing(static_cast<StagePermission>(m_permission->currentData().toInt()));
        showStatus();
        return;
    }
    if (id == Revoke) {
        const int row = selectedDevice();
        if (row >= 0 && !m_server.revoke(static_cast<std::size_t>(row)))
            m_problem = QStringLiteral("The device is revoked until DeskPanel ends; the settings could not be stored.");
        showDevices();
        showStatus();
        return;
    }
    if (id != ControlId::Ok) {
        GlassDialog::onCommand(id);
        return;
    }
    m_port->interpretText();
    StageSettings settings = m_server.settings();
    settings.enabled = m_enabled->isChecked();
    settings.port = static_cast<std::uint16_t>(m_port->value());
    settings.listen = m_listen->currentData().toString().toStdString();
    settings.allowPhantom = m_phantom->isChecked();
    settings.certificate = m_certificate->text().trimmed().toStdString();
    settings.key = m_key->text().trimmed().toStdString();
    if (!m_server.store(settings)) {
        m_problem = QStringLiteral("The settings could not be stored; they apply until DeskPanel ends.");
        showStatus();
        return;
    }
    // A server that cannot start (a certificate that cannot be used, a port in use) keeps
    // the dialog open with the reason in its status.
    if (settings.enabled && !m_server.isListening()) {
        showStatus();
        return;
    }
    GlassDialog::onCommand(id);
}

} // namespace deskpanel
