#pragma once
#include "ui/controls/GlassDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace deskpanel {

class StageServer;

// Setup > Stage Remote: on or off, the port, where it listens, 48 V from the page and the
// HTTPS certificate and key (applied at OK), the page's address as text and QR code, the paired devices with
// Revoke, and Pair a Device, which shows a six-digit code for two minutes. Revoking and
// pairing act at once, whatever OK or Cancel does later.
class StageRemoteDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int StatusRefreshMs = 500;
    static constexpr const char* TrustNoteText = "The page is plain HTTP: use it only on a show network you trust.";
    static constexpr const char* NotServingText = "Turn the Stage Remote on and press OK to serve the page.";
    static constexpr const char* HttpsNoteText =
        "The page is HTTPS: a browser that does not know the certificate asks once to trust it.";

    explicit StageRemoteDialog(StageServer& server, QWidget* parent = nullptr);

    QString statusText() const;
    // The code shown, "" when none is open.
    QString pairingCode() const;

protected:
    void onCommand(int id) override;

private:
    // A label, a path field and its Browse button; the field is returned.
    QLineEdit* createFileChoice(int labelId, const QString& label, int fieldId, int browseId, const std::string& path);
    void chooseFile(QLineEdit* field, const QString& what);
    // The paired device selected in the list, -1 when none is.
    int selectedDevice() const;
    void showDevices();
    void showStatus();

    StageServer& m_server;
    QCheckBox* m_enabled = nullptr;
    QSpinBox* m_port = nullptr;
    QComboBox* m_listen = nullptr;
    QCheckBox* m_phantom = nullptr;
    QLineEdit* m_certificate = nullptr;
    QLineEdit* m_key = nullptr;
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
