#pragma once
#include "app/stage/HttpRequest.h"
#include "core/stage/WebSocketFrames.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <string>

class QTcpSocket;

namespace deskpanel {

// How an upgrade request the server has let through is answered: 101 with the
// Sec-WebSocket-Accept value, 426 for another protocol version, 400 for a missing or
// malformed key. `headers` are the answer's header lines, `why` the refusal in words.
struct WebSocketHandshake {
    int status = 101;
    QByteArray headers;
    QString why;
};
WebSocketHandshake webSocketHandshake(const HttpRequest& request);
// base64(SHA-1(key + the protocol's GUID)): what proves to the browser that this server
// read its handshake.
QByteArray webSocketAccept(const QByteArray& key);

// The server's side of one page's WebSocket on a connection (plain or TLS) whose
// upgrade request has been read and answered with 101. Pings are answered, a close is
// echoed and the connection ended; a peer that breaks the protocol is closed with the
// code that says how.
class WebSocketConnection : public QObject {
    Q_OBJECT
public:
    // How long a closing connection waits for the peer's close and for its last bytes
    // to go out before the TCP connection is cut.
    static constexpr int CloseWaitMs = 2000;

    // Takes `socket` over (it becomes this object's child) and reads the bytes already
    // received after the request: a client may send its first frames with it.
    WebSocketConnection(QTcpSocket* socket, std::size_t maxMessageBytes, QObject* parent);

    void sendText(const std::string& utf8);
    // Sends a close frame, then ends the connection when the peer answers (or within
    // CloseWaitMs); nothing more is read as a message.
    void close(std::uint16_t code, const QString& reason);
    // Ends the connection at once, without a close frame.
    void abort();
    // Bytes sent but not yet written to the network: a page that does not keep up.
    qint64 bytesToWrite() const;

signals:
    void textReceived(const std::string& utf8);
    void binaryReceived();
    // The TCP connection ended, whichever side ended it.
    void disconnected();

private:
    void onReadable();
    void handle(const websocket::Event& event);
    // Ends the TCP connection once what is written has gone out.
    void end();

    QTcpSocket* m_socket;
    websocket::FrameReader m_reader;
    QTimer m_cut;
    bool m_closeSent = false;
};

} // namespace deskpanel
