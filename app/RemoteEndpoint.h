#pragma once
#include "app/DnsSdAnnouncer.h"
#include "core/records/PresetLibrary.h"
#include "core/remote/RemoteControl.h"
#include "core/remote/RemoteSettings.h"
#include "core/remote/RemoteSocket.h"

#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace deskpanel {

class DeskPanelApp;

// The remote control's UDP socket on the UI thread's event loop (datagrams keep coming
// inside modal boxes, like the unit link's). Binds where "Listen" says: by itself,
// 127.0.0.1 while every listed host is this machine, every interface otherwise; a port that cannot be bound is reported once and
// tried again every BindRetryMs.
class RemoteEndpoint : public QObject {
    Q_OBJECT
public:
    static constexpr int BindRetryMs = 2000;

    // Serves the application's project, channels and scenes and follows its unit states.
    explicit RemoteEndpoint(DeskPanelApp& app);
    ~RemoteEndpoint() override;

    // The channel presets /deskpanel/ch/{n}/preset applies, read from this library file
    // each time (the operator may have changed them since).
    void setPresetLibrary(std::string path);
    // Reads the settings from the profile and applies them; the dialog's OK stores there.
    void useProfile(const std::string& profile);
    // Stores the settings in the profile, then applies them; false when the profile
    // could not be written (they are applied all the same).
    bool store(const RemoteSettings& settings);
    void apply(const RemoteSettings& settings);
    const RemoteSettings& settings() const { return m_settings; }

    bool isListening() const { return m_socket.isOpen(); }
    // "127.0.0.1:9000" while listening.
    QString listeningText() const;
    // Why the port could not be bound, while it cannot.
    const QString& bindError() const { return m_bindError; }
    const RemoteControl& control() const { return m_control; }
    RemoteControl& control() { return m_control; }
    // The address the socket is (or would be) bound to.
    std::uint32_t boundAddress() const;

signals:
    // The endpoint started or stopped listening, or a bind failed.
    void statusChanged();

private:
    const PresetLibrary& presetLibrary();
    void bindSocket();
    void close();
    void readPending();

    DeskPanelApp& m_app;
    RemoteSocket m_socket;
    RemoteControl m_control;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_retry;
    RemoteSettings m_settings;
    std::string m_profile;
    QString m_bindError;
    int m_unitStateListener = 0;
    bool m_failureReported = false;
    std::uint16_t m_boundPort = 0;
    // While listening beyond loopback, browsing clients find the endpoint.
    DnsSdAnnouncer m_announcer;
    std::string m_presetPath;
    PresetLibrary m_presets;
    std::optional<std::filesystem::file_time_type> m_presetsRead;
};

} // namespace deskpanel
