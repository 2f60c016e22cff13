#include "app/stage/StageServer.h"

#include "app/DeskPanelApp.h"
#include "core/records/EventLog.h"
#include "core/stage/StageMessage.h"

#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkInterface>
#include <QRandomGenerator>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

// The page is compiled into the application's static library: its resources are
// registered by hand, outside any namespace, as Qt asks.
static void registerPageResources()
{
    Q_INIT_RESOURCE(stage);
}

namespace deskpanel {
namespace {

constexpr const char* TokenCookie = "deskpanel_token";
constexpr const char* RefusedKind = "STAGE REFUSED";
constexpr const char* NotStartedKind = "STAGE NOT STARTED";
// A paired phone stays paired for 400 days.
constexpr const char* CookieLifetime = "34560000";

struct PageFile {
    const char* path;
    const char* resource;
    const char* type;
};
constexpr PageFile PageFiles[] = {
    {"/", ":/stage/index.html", "text/html; charset=utf-8"},
    {"/stage.css", ":/stage/stage.css", "text/css; charset=utf-8"},
    {"/stage.js", ":/stage/stage.js", "text/javascript; charset=utf-8"},
    {"/icon.svg", ":/stage/icon.svg", "image/svg+xml"},
};

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 401: return "Unauthorized";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 410: return "Gone";
    case 413: return "Content Too Large";
    case 426: return "Upgrade Required";
    case 500: return "Internal Server Error";
    default: return "Service Unavailable";
    }
}

QString peerText(const QHostAddress& address, quint16 port)
{
    return address.toString() + ':' + QString::number(port);
}
QString peerOf(const QAbstractSocket* socket)
{
    return peerText(socket->peerAddress(), socket->peerPort());
}

void randomBytes(std::uint8_t* bytes, std::size_t count)
{
    QRandomGenerator* source = QRandomGenerator::system(); // the system's cryptographic source
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<std::uint8_t>(source->generate() & 0xFFu);
}

} // namespace

StageServer::StageServer(DeskPanelApp& app, EventLog* events)
    : m_app(app),
      m_events(events),
      m_control(
          app.project(), app.channels(), app.scenes(), app.timers(), app.clock(),
          [&app](int unitNumber) { return app.link().state(unitNumber); }, *this),
      m_pairing(app.clock(), randomBytes)
{
    registerPageResources();
    m_control.setUnitSender(&app.link());
    Metering& meters = app.metering();
    m_control.setMeterSource([&meters](int channel) { return meters.levelDb(channel); });
    m_unitStateListener =
        app.addUnitStateListener([this](int unitNumber, UnitState) { m_control.unitStateChanged(unitNumber); });
    connect(&m_server, &QTcpServer::newConnection, this, &StageServer::onNewConnection);
}

StageServer::~StageServer()
{
    m_app.removeUnitStateListener(m_unitStateListener);
    closeAll();
}

void StageServer::useProfile(const std::string& profile)
{
    m_profile = profile;
    apply(StageSettings::read(profile));
}

bool StageServer::store(const StageSettings& settings)
{
    const bool written = m_profile.empty() || settings.write(m_profile);
    apply(settings);
    return written;
}

void StageServer::apply(const StageSettings& settings)
{
    const bool sameSocket = isListening() && settings.enabled && settings.port == m_settings.port &&
                            settings.listen == m_settings.listen && settings.certificate == m_settings.certificate &&
                            settings.key == m_settings.key;
    m_settings = settings;
    m_control.setAllowPhantom(settings.allowPhantom);
    // Devices taken off the list lose their pages at once.
    QList<QPointer<WebSocketConnection>> revoked;
    for (const Page& page : std::as_const(m_pages)) {
        const bool paired = std::any_of(settings.devices.begin(), settings.devices.end(),
                                        [&](const StageDevice& d) { return d.tokenHash == page.tokenHash; });
        if (!paired)
            revoked << page.socket;
    }
    for (const QPointer<WebSocketConnection>& socket : revoked)
        if (socket)
            socket->close(websocket::PolicyViolated, QStringLiteral("revoked"));
    if (sameSocket)
        return;
    closeAll();
    m_startError.clear();
    if (settings.enabled)
        listen();
    emit statusChanged();
}

void StageServer::listen()
{
    // A "Listen" that names nothing this server knows keeps it on this computer, never wider.
    const std::uint32_t bound = m_settings.listenAddress().value_or(0x7F000001u);
    const QHostAddress address = bound == 0 ? QHostAddress(QHostAddress::AnyIPv4) : QHostAddress(bound);
    // HTTPS as soon as either file is named: a certificate or key that cannot be used
    // keeps the server closed, it never serves the page in plain HTTP instead.
    std::optional<QSslConfiguration> tls;
    m_server.setTls(std::nullopt);
    if (!m_settings.certificate.empty() || !m_settings.key.empty()) {
        tls = serverTls(QString::fromStdString(m_settings.certificate), QString::fromStdString(m_settings.key),
                        m_startError);
        if (!tls) {
            logNotStarted();
            return;
        }
    }
    m_server.setTls(std::move(tls));
    if (!m_server.listen(address, m_settings.port)) {
        m_startError = tr("Port %1 could not be opened: %2").arg(m_settings.port).arg(m_server.errorString());
        logNotStarted();
        return;
    }
    m_boundAddress = bound;
}

void StageServer::closeAll()
{
    m_server.close();
    // An aborted socket says so at once, and its page is forgotten then: not while the
    // pages are walked.
    QList<QPointer<WebSocketConnection>> sockets;
    for (const Page& page : std::as_const(m_pages))
        sockets << page.socket;
    for (const QPointer<WebSocketConnection>& socket : sockets)
        if (socket)
            socket->abort();
    for (const int id : m_pages.keys())
        m_control.close(id);
    m_pages.clear();
}

QString StageServer::pageAddress() const
{
    if (!isListening())
        return {};
    QHostAddress host(m_boundAddress);
    if (m_boundAddress == 0) {
        // Listening everywhere: the first address a phone on the network can reach.
        host = QHostAddress(QHostAddress::LocalHost);
        for (const QHostAddress& candidate : QNetworkInterface::allAddresses())
            if (candidate.protocol() == QAbstractSocket::IPv4Protocol && !candidate.isLoopback()) {
                host = candidate;
                break;
            }
    }
    return QStringLiteral("%1://%2:%3/").arg(scheme(), host.toString()).arg(m_server.serverPort());
}

std::string StageServer::openPairing(StagePermission permission)
{
    const std::string code = m_pairing.open(permission);
    emit statusChanged();
    return code;
}

bool StageServer::revoke(std::size_t index)
{
    if (index >= m_settings.devices.size())
        return true;
    StageSettings settings = m_settings;
    settings.devices.erase(settings.devices.begin() + static_cast<std::ptrdiff_t>(index));
    return store(settings);
}

// ------------------------------------------------------------------ requests

void StageServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_reading >= MaxConnectionsReading) {
            logRefusal(peerOf(socket), QStringLiteral("too many connections at once"));
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_reading;
        auto* timeout = new QTimer(socket);
        timeout->setSingleShot(true);
        connect(timeout, &QTimer::timeout, socket, [this, socket] {
            logRefusal(peerOf(socket), QStringLiteral("request not complete within 10 s"));
            socket->abort();
        });
        timeout->start(ReadTimeoutMs);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (socket->property("reading").toBool())
                --m_reading;
            socket->setProperty("reading", false);
            socket->deleteLater();
        });
        socket->setProperty("reading", true);
        if (auto* tls = qobject_cast<QSslSocket*>(socket))
            connect(tls, &QSslSocket::errorOccurred, this, [this, tls](QAbstractSocket::SocketError error) {
                // A browser's unused connection closes quietly; plain HTTP to this port is refused.
                if (error != QAbstractSocket::SslHandshakeFailedError || tls->isEncrypted())
                    return;
                logRefusal(peerOf(tls), QStringLiteral("no TLS handshake (%1)").arg(tls->errorString()));
                tls->abort();
                emit statusChanged();
            });
    }
}

void StageServer::onReadable(QTcpSocket* socket)
{
    if (!socket->property("reading").toBool())
        return;
    // Peeked, not read, until the request is whole: what follows it stays in the socket
    // (a client may send its first WebSocket frames right after the handshake).
    const QByteArray bytes = socket->peek(HttpRequest::MaxBytes + 1);
    const HttpReading reading = readHttpRequest(bytes);
    switch (reading.status) {
    case HttpReading::Status::Incomplete: return;
    case HttpReading::Status::TooLarge: refuse(socket, 413, QStringLiteral("request over 64 KB")); return;
    case HttpReading::Status::Malformed: refuse(socket, 400, QStringLiteral("malformed request")); return;
    case HttpReading::Status::Complete: break;
    }
    socket->setProperty("reading", false);
    --m_reading;
    for (QObject* child : socket->children())
        if (auto* timer = qobject_cast<QTimer*>(child))
            timer->stop();
    if (reading.request.path == "/live")
        openLive(socket, reading.request);
    else {
        socket->read(reading.request.length);
        answer(socket, reading.request);
    }
}

void StageServer::answer(QTcpSocket* socket, const HttpRequest& request)
{
    if (!trustedHost(request)) {
        refuse(socket, 403,
               QStringLiteral("Host %1 is not this server").arg(QString::fromLatin1(request.header("host"))));
        return;
    }
    if (request.path == "/pair") {
        if (request.method != "POST")
            respondJson(socket, 405, "error", QStringLiteral("Send the code with POST."));
        else
            pair(socket, request);
        return;
    }
    if (request.method != "GET" && request.method != "HEAD") {
        respondJson(socket, 405, "error", QStringLiteral("Only GET is served here."));
        return;
    }
    if (request.path == "/session") {
        if (const StageDevice* device = deviceOf(request)) {
            const QJsonObject session{{"device", QString::fromStdString(device->name)},
                                      {"permission", QString::fromLatin1(permissionText(device->permission).data())}};
            respond(socket, 200, "application/json", QJsonDocument(session).toJson(QJsonDocument::Compact));
        } else {
            respondJson(socket, 401, "error", QStringLiteral("This device is not paired."));
        }
        return;
    }
    for (const PageFile& file : PageFiles)
        if (request.path == file.path) {
            QFile resource(QString::fromLatin1(file.resource));
            if (resource.open(QIODevice::ReadOnly)) {
                respond(socket, 200, file.type, request.method == "HEAD" ? QByteArray() : resource.readAll());
                return;
            }
        }
    respondJson(socket, 404, "error", QStringLiteral("Not found."));
}

void StageServer::pair(QTcpSocket* socket, const HttpRequest& request)
{
    if (!ownOrigin(request)) {
        refuse(socket, 403,
               QStringLiteral("pairing from a foreign page (Origin %1)")
                   .arg(QString::fromLatin1(request.header("origin"))));
        return;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(request.body, &error);
    const QJsonObject body = document.object();
    if (error.error != QJsonParseError::NoError || !body.value("code").isString() || !body.value("name").isString()) {
        respondJson(socket, 400, "error", QStringLiteral("Send the code and the device's name."));
        return;
    }
    const std::string name = body.value("name").toString().trimmed().toStdString();
    std::string why;
    if (!validDeviceName(name, why)) {
        respondJson(socket, 400, "error", QString::fromStdString(why));
        return;
    }
    std::string token;
    StagePermission permission = StagePermission::View;
    switch (m_pairing.pair(body.value("code").toString().toStdString(), name, token, permission)) {
    case StagePairing::PairResult::WrongCode:
        logRefusal(peerOf(socket), QStringLiteral("wrong pairing code"));
        respondJson(socket, 403, "error", QStringLiteral("Wrong code."));
        emit statusChanged();
        return;
    case StagePairing::PairResult::NoCode:
        logRefusal(peerOf(socket), QStringLiteral("pairing without an open code"));
        respondJson(socket, 410, "error", QStringLiteral("No pairing code is open. Ask the operator for a new one."));
        emit statusChanged();
        return;
    case StagePairing::PairResult::BadName:
        respondJson(socket, 400, "error", QStringLiteral("The device's name cannot be used."));
        return;
    case StagePairing::PairResult::Paired: break;
    }
    m_settings.devices.push_back({name, permission, StagePairing::tokenHash(token)});
    if (!m_profile.empty() && !m_settings.write(m_profile)) {
        // Not stored, not paired: the phone would lose the pairing at the next start.
        m_settings.devices.pop_back();
        respondJson(socket, 500, "error", QStringLiteral("DeskPanel could not store the pairing. Try again."));
        emit statusChanged();
        return;
    }
    const QJsonObject session{{"device", QString::fromStdString(name)},
                              {"permission", QString::fromLatin1(permissionText(permission).data())}};
    const QByteArray cookie = QByteArray("Set-Cookie: ") + TokenCookie + '=' + QByteArray::fromStdString(token) +
                              "; Path=/; Max-Age=" + CookieLifetime + "; HttpOnly; SameSite=Strict" +
                              (isHttps() ? "; Secure" : "") + "\r\n";
    respond(socket, 200, "application/json", QJsonDocument(session).toJson(QJsonDocument::Compact), cookie);
    emit statusChanged();
}

void StageServer::openLive(QTcpSocket* socket, const HttpRequest& request)
{
    const StageDevice* device = nullptr;
    QString why;
    if (!request.isWebSocketUpgrade())
        why = QStringLiteral("/live without a WebSocket upgrade");
    else if (!trustedHost(request))
        why = QStringLiteral("Host %1 is not this server").arg(QString::fromLatin1(request.header("host")));
    else if (!ownOrigin(request))
        why = QStringLiteral("WebSocket from a foreign page (Origin %1)")
                  .arg(QString::fromLatin1(request.header("origin")));
    else if (!(device = deviceOf(request)))
        why = QStringLiteral("WebSocket from a device that is not paired");
    else if (pageCount() >= StageControl::MaxPages)
        why = QStringLiteral("more than 16 pages");
    socket->read(request.length); // what follows is the page's first frames
    if (!why.isEmpty()) {
        refuse(socket, 403, why);
        return;
    }
    const WebSocketHandshake handshake = webSocketHandshake(request);
    if (handshake.status != 101) {
        refuse(socket, handshake.status, handshake.why, handshake.headers);
        return;
    }
    disconnect(socket, nullptr, this, nullptr);
    socket->write("HTTP/1.1 101 Switching Protocols\r\n" + handshake.headers + "\r\n");
    auto* live = new WebSocketConnection(socket, stage::MaxMessageBytes, this);
    const std::optional<int> id = m_control.open(device->name, device->permission);
    if (!id) {
        live->close(websocket::PolicyViolated, QStringLiteral("refused"));
        connect(live, &WebSocketConnection::disconnected, live, &QObject::deleteLater);
        return;
    }
    m_pages.insert(*id, {live, device->tokenHash});
    connect(live, &WebSocketConnection::textReceived, this, [this, id = *id](const std::string& text) {
        std::string error;
        if (const auto message = readStageMessage(text, error))
            m_control.received(id, *message);
        else
            m_control.unreadable(id, error);
    });
    connect(live, &WebSocketConnection::binaryReceived, this,
            [this, id = *id] { m_control.unreadable(id, "binary frames are not read"); });
    connect(live, &WebSocketConnection::disconnected, this, [this, live, id = *id] {
        m_control.close(id);
        m_pages.remove(id);
        live->deleteLater();
        emit statusChanged();
    });
    emit statusChanged();
}

// ------------------------------------------------------------------ checks

bool StageServer::trustedHost(const HttpRequest& request) const
{
    const QString host = QString::fromLatin1(request.header("host"));
    const qsizetype colon = host.lastIndexOf(':');
    const QString name = colon < 0 ? host : host.left(colon);
    const QString port = colon >= 0 ? host.mid(colon + 1) : isHttps() ? QStringLiteral("443") : QStringLiteral("80");
    if (port != QString::number(m_server.serverPort()))
        return false;
    if (name == QLatin1String("localhost"))
        return (m_boundAddress >> 24) == 127 || m_boundAddress == 0;
    const QHostAddress address(name);
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return false;
    if (m_boundAddress != 0)
        return address.toIPv4Address() == m_boundAddress;
    return QNetworkInterface::allAddresses().contains(address);
}

bool StageServer::ownOrigin(const HttpRequest& request) const
{
    return request.header("origin") == scheme().toLatin1() + "://" + request.header("host");
}

QString StageServer::scheme() const
{
    return isHttps() ? QStringLiteral("https") : QStringLiteral("http");
}

const StageDevice* StageServer::deviceOf(const HttpRequest& request) const
{
    const QByteArray token = request.cookie(TokenCookie);
    if (token.size() != 32)
        return nullptr;
    const std::string hash = StagePairing::tokenHash(token.toStdString());
    for (const StageDevice& device : m_settings.devices)
        if (device.tokenHash == hash)
            return &device;
    return nullptr;
}

// ------------------------------------------------------------------ answers

void StageServer::respond(QTcpSocket* socket, int status, const QByteArray& type, const QByteArray& body,
                          const QByteArray& extraHeaders)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    head += "Content-Type: " + type + "\r\n";
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    head += "Cache-Control: no-cache\r\n";
    head += "X-Content-Type-Options: nosniff\r\n";
    head += "X-Frame-Options: DENY\r\n";
    head += "Referrer-Policy: no-referrer\r\n";
    head += "Content-Security-Policy: default-src 'self'; connect-src 'self' ws: wss:; frame-ancestors 'none'\r\n";
    head += "Connection: close\r\n";
    head += extraHeaders;
    socket->write(head + "\r\n" + body);
    socket->disconnectFromHost();
}

void StageServer::respondJson(QTcpSocket* socket, int status, const QString& key, const QString& value,
                              const QByteArray& extraHeaders)
{
    respond(socket, status, "application/json", QJsonDocument(QJsonObject{{key, value}}).toJson(QJsonDocument::Compact),
            extraHeaders);
}

void StageServer::refuse(QTcpSocket* socket, int status, const QString& why, const QByteArray& extraHeaders)
{
    if (socket->property("reading").toBool()) {
        socket->setProperty("reading", false);
        --m_reading;
    }
    logRefusal(peerOf(socket), why);
    respondJson(socket, status, "error",
                status == 413 ? QStringLiteral("The request is too large.") : QStringLiteral("Refused."), extraHeaders);
    emit statusChanged();
}

void StageServer::logRefusal(const QString& from, const QString& why)
{
    ++m_refusals;
    if (!m_events)
        return;
    UnitEvent event;
    event.ip = from.toStdString();
    event.newState = RefusedKind;
    event.text = "Stage Remote refused: " + why.toStdString();
    m_events->record(std::move(event));
}

void StageServer::logNotStarted()
{
    if (!m_events)
        return;
    UnitEvent event;
    event.newState = NotStartedKind;
    event.text = "Stage Remote not started: " + m_startError.toStdString();
    m_events->record(std::move(event));
}

// ------------------------------------------------------------------ pages

void StageServer::send(int page, const OscMessage& message)
{
    const auto it = m_pages.constFind(page);
    if (it != m_pages.constEnd() && it->socket)
        it->socket->sendText(writeStageMessage(message));
}

void StageServer::sendMeters(int page, int first, const std::vector<int>& levels)
{
    const auto it = m_pages.constFind(page);
    if (it != m_pages.constEnd() && it->socket)
        it->socket->sendText(writeStageMeters(first, levels));
}

bool StageServer::isSlow(int page) const
{
    const auto it = m_pages.constFind(page);
    return it == m_pages.constEnd() || !it->socket || it->socket->bytesToWrite() > SlowSocketBytes;
}

} // namespace deskpanel
