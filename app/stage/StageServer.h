#pragma once
#include "app/stage/HttpRequest.h"
#include "app/stage/TlsServer.h"
#include "app/stage/WebSocketConnection.h"
#include "core/stage/StageControl.h"
#include "core/stage/StagePairing.h"
#include "core/stage/StageSettings.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QTcpSocket;

namespace deskpanel {

class DeskPanelApp;
class EventLog;

// The Stage Remote: DeskPanel's own web server for phones and tablets. One port serves
// the page, the pairing and the pages' WebSockets at /live; a small reader of its own
// takes each request, so what is refused (more than 64 KB, a foreign Origin or Host, no
// paired device, more than 16 pages) is refused before a WebSocket is ever opened. The
// WebSockets are its own too (WebSocketConnection), on the sockets it accepted.
// Every refusal is counted and written to the event log with the address it came from.
class StageServer : public QObject, private StageControl::PageOutput {
    Q_OBJECT
public:
    static constexpr int ReadTimeoutMs = 10000;
    static constexpr int MaxConnectionsReading = 64;
    static constexpr qint64 SlowSocketBytes = 64 * 1024;

    StageServer(DeskPanelApp& app, EventLog* events);
    ~StageServer() override;

    // Reads the settings from the profile and applies them.
    void useProfile(const std::string& profile);
    // Stores the settings in the profile, then applies them; false when the profile
    // could not be written (they are applied all the same).
    bool store(const StageSettings& settings);
    const StageSettings& settings() const { return m_settings; }
    void setProgramVersion(std::string version) { m_control.setProgramVersion(std::move(version)); }

    bool isListening() const { return m_server.isListening(); }
    // Whether the pages are served over HTTPS (a certificate and key are in use).
    bool isHttps() const { return m_server.isTls(); }
    // Why the server is not listening although it is enabled: the port could not be bound,
    // or the certificate or key cannot be used (never a quiet fall back to plain HTTP).
    const QString& startError() const { return m_startError; }
    // "http://192.168.1.20:8480/" (or https://) while listening: the address a phone opens.
    QString pageAddress() const;

    // A new six-digit pairing code for a device that gets `permission`.
    std::string openPairing(StagePermission permission);
    void closePairing() { m_pairing.close(); }
    const StagePairing& pairing() const { return m_pairing; }
    // Forgets the device at `index` of settings().devices and closes its pages at once;
    // false when the profile could not be written.
    bool revoke(std::size_t index);

    int pageCount() const { return m_control.pageCount(); }
    std::uint64_t refusals() const { return m_refusals; }
    StageControl& control() { return m_control; }

signals:
    // Listening started or stopped, a bind failed, a device paired or was revoked, a
    // refusal was counted or a page came or went.
    void statusChanged();

private:
    struct Page {
        QPointer<WebSocketConnection> socket;
        std::string tokenHash;
    };

    void apply(const StageSettings& settings);
    void listen();
    void closeAll();
    void onNewConnection();
    void onReadable(QTcpSocket* socket);
    void answer(QTcpSocket* socket, const HttpRequest& request);
    void openLive(QTcpSocket* socket, const HttpRequest& request);
    void respond(QTcpSocket* socket, int status, const QByteArray& type, const QByteArray& body,
                 const QByteArray& extraHeaders = {});
    void respondJson(QTcpSocket* socket, int status, const QString& key, const QString& value,
                     const QByteArray& extraHeaders = {});
    void pair(QTcpSocket* socket, const HttpRequest& request);
    void refuse(QTcpSocket* socket, int status, const QString& why, const QByteArray& extraHeaders = {});
    void logRefusal(const QString& from, const QString& why);
    void logNotStarted();
    // "http" or "https", as the pages are served.
    QString scheme() const;
    // Whether Host names an address this server listens on, and Origin (when sent, or
    // when `originRequired`) is the page's own.
    bool trustedHost(const HttpRequest& request) const;
    bool ownOrigin(const HttpRequest& request) const;
    // The paired device whose token the request's cookie carries.
    const StageDevice* deviceOf(const HttpRequest& request) const;

    // StageControl::PageOutput
    void send(int page, const OscMessage& message) override;
    void sendMeters(int page, int first, const std::vector<int>& levels) override;
    bool isSlow(int page) const override;

    DeskPanelApp& m_app;
    EventLog* m_events;
    StageControl m_control;
    StagePairing m_pairing;
    TlsServer m_server;
    StageSettings m_settings;
    std::string m_profile;
    QString m_startError;
    quint32 m_boundAddress = 0;
    int m_reading = 0;
    QHash<int, Page> m_pages;
    std::uint64_t m_refusals = 0;
    int m_unitStateListener = 0;
};

} // namespace deskpanel
