#pragma once
#include <QSslConfiguration>
#include <QString>
#include <QTcpServer>

#include <optional>

namespace deskpanel {

// A TCP server whose connections speak TLS when it is given a server configuration: each
// accepted descriptor becomes a QSslSocket that starts its handshake at once, so readers
// see only decrypted bytes. Without one it hands out plain sockets, as QTcpServer does.
class TlsServer : public QTcpServer {
    Q_OBJECT
public:
    using QTcpServer::QTcpServer;

    void setTls(std::optional<QSslConfiguration> configuration) { m_tls = std::move(configuration); }
    bool isTls() const { return m_tls.has_value(); }

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    std::optional<QSslConfiguration> m_tls;
};

// The server configuration for a PEM certificate (with its chain, if the file holds one)
// and its PEM private key. Nothing when they cannot be used, with `why` in words for the
// operator: a file that cannot be read, holds no certificate or no unencrypted key, or a
// key that is not the certificate's. Whether the two match is found by one handshake with
// itself over loopback, which every TLS backend can do; it takes milliseconds.
std::optional<QSslConfiguration> serverTls(const QString& certificatePath, const QString& keyPath, QString& why);

} // namespace deskpanel
