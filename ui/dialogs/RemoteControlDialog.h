#pragma once
#include "ui/controls/GlassDialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTimer;

namespace deskpanel {

class RemoteEndpoint;

// Setup > Remote Control: on or off, the UDP port, where it listens, the allowed hosts
// and 48 V from remote, with what the endpoint is doing now. OK stores the settings in the profile
// and applies them at once; Cancel changes nothing.
class RemoteControlDialog : public GlassDialog {
    Q_OBJECT
public:
    static constexpr int StatusRefreshMs = 500;
    // What the list is, in plain words: no access control.
    static constexpr const char* HostsNoteText =
        "The list filters by source address, which anyone on the network can forge: keep the remote on an "
        "isolated control network.";

    explicit RemoteControlDialog(RemoteEndpoint& endpoint, QWidget* parent = nullptr);

    // The lines the status area shows.
    QString statusText() const;

protected:
    void onCommand(int id) override;

private:
    void showStatus();

    RemoteEndpoint& m_endpoint;
    QCheckBox* m_enabled = nullptr;
    QSpinBox* m_port = nullptr;
    QComboBox* m_listen = nullptr;
    QLineEdit* m_hosts = nullptr;
    QCheckBox* m_phantom = nullptr;
    QLabel* m_status = nullptr;
    QString m_problem;
};

} // namespace deskpanel
