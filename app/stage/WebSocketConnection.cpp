#include "app/stage/WebSocketConnection.h"

#include <QCryptographicHash>
#include <QTcpSocket>

#include <string_view>
#include <vector>

namespace deskpanel {

QByteArray webSocketAccept(const QByteArray& key)
{
    return QCryptographicHash::hash(key + "258EAFA5-E914-47DA-95CA-C5AB0DC85B11", QCryptographicHash::Sha1).toBase64();
}

WebSocketHandshake webSocketHandshake(const HttpRequest& request)
{
    const QByteArray version = request.header("sec-websocket-version");
    if (version != "13")
        return {426, "Sec-WebSocket-Version: 13\r\n",
                QStringLiteral("WebSocket version \"%1\", not 13").arg(QString::fromLatin1(version.left(20)))};
    const QByteArray key = request.header("sec-websocket-key");
    const auto nonce = QByteArray::fromBase64Encoding(key, QByteArray::AbortOnBase64DecodingErrors);
    if (!nonce || nonce.decoded.size() != 16)
        return {400, {}, QStringLiteral("WebSocket without a 16-byte key")};
    return {
        101, "Upgrade: websocket\r\nConnection: Upgrade\r\nSec-WebSocket-Accept: " + webSocketAccept(key) + "\r\n", {}};
}

WebSocketConnection::WebSocketConnection(QTcpSocket* socket, std::size_t maxMessageBytes, QObject* parent)
    : QObject(parent), m_socket(socket), m_reader(maxMessageBytes)
{
    socket->setParent(this);
    // A tap's answer and the meters are a few dozen bytes each: sent at once, not held
    // back to be joined with the next.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_cut.setSingleShot(true);
    connect(&m_cut, &QTimer::timeout, socket, &QTcpSocket::abort);
    connect(socket, &QTcpSocket::readyRead, this, &WebSocketConnection::onReadable);
    connect(socket, &QTcpSocket::disconnected, this, &WebSocketConnection::disconnected);
    // Bytes that came right after the request are already waiting and will not be
    // announced again; they are read once whoever made this has heard its signals.
    QMetaObject::invokeMethod(this, &WebSocketConnection::onReadable, Qt::QueuedConnection);
}

void WebSocketConnection::sendText(const std::string& utf8)
{
    if (m_closeSent)
        return;
    const std::string bytes = websocket::frame(websocket::Opcode::Text, utf8);
    m_socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void WebSocketConnection::close(std::uint16_t code, const QString& reason)
{
    if (m_closeSent)
        return;
    m_closeSent = true;
    const std::string bytes = websocket::closeFrame(code, reason.toStdString());
    m_socket->write(bytes.data(), static_cast<qint64>(bytes.size()));
    m_cut.start(CloseWaitMs);
}

void WebSocketConnection::abort()
{
    m_socket->abort();
}

qint64 WebSocketConnection::bytesToWrite() const
{
    return m_socket->bytesToWrite();
}

void WebSocketConnection::onReadable()
{
    const QByteArray bytes = m_socket->readAll();
    if (m_reader.ended() || bytes.isEmpty())
        return; // after a close or an error nothing more is read
    std::vector<websocket::Event> events;
    m_reader.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), events);
    for (const websocket::Event& event : events)
        handle(event);
}

void WebSocketConnection::handle(const websocket::Event& event)
{
    using Kind = websocket::Event::Kind;
    switch (event.kind) {
    case Kind::Text:
        if (!m_closeSent)
            emit textReceived(event.payload);
        return;
    case Kind::Binary:
        if (!m_closeSent)
            emit binaryReceived();
        return;
    case Kind::Ping:
        if (!m_closeSent) {
            const std::string pong = websocket::frame(websocket::Opcode::Pong, event.payload);
            m_socket->write(pong.data(), static_cast<qint64>(pong.size()));
        }
        return;
    case Kind::Pong: return;
    case Kind::Close:
        // The peer's close, or its answer to ours: the server ends the TCP connection.
        close(event.code, {});
        end();
        return;
    case Kind::Error:
        close(event.code, QString::fromStdString(event.payload));
        end();
        return;
    }
}

void WebSocketConnection::end()
{
    // Once the close frame is out; a peer that reads nothing more is cut off.
    m_socket->disconnectFromHost();
    m_cut.start(CloseWaitMs);
}

} // namespace deskpanel
