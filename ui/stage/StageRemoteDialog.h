#pragma once
#include "ui/controls/GlassDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace deskpanel {

class StageServer;

// Setup > Stage Remote: on or off, the port, where it listens and 48 V from the page
// (applied at OK), the page's address as text and QR code, the paired devices with
// Revoke, and Pair a Device, which shows a six-digit code for two minutes. Revoking and
// pairing act at once, whatever OK or Cancel does later.
class StageRemoteDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int StatusRefreshMs = 500;
    static constexpr const char* TrustNoteText = "The page is plain HTTP: use it only on a show network you trust.";

    explicit StageRemoteDialog(StageServer& server, QWidget* parent = nullptr);

    QString statusText() const;
    // The code shown, "" when none is open.
    QString pairingCode() const;

protected:
    void onCommand(int id) override;

private:
    void showDevices();
    void showStatus();

    StageServer& m_server;
    QCheckBox* m_enabled = nullptr;
    QSpinBox* m_port = nullptr;
    QComboBox* m_listen = nullptr;
    QCheckBox* m_phantom = nullptr;
    QLabel* m_address = nullptr;
    QLabel* m_qr = nullptr;
    QListWidget* m_devices = nullptr;
    QComboBox* m_permission = nullptr;
    QLabel* m_code = nullptr;
    QLabel* m_status = nullptr;
    QString m_problem;
    QString m_shownAddress;
};

// The QR code of `text` as an image of `size` pixels square, dark modules on white with
// the quiet zone the code needs; a null image when the text does not fit a code.
QImage qrCodeImage(const QString& text, int size);

} // namespace deskpanel
