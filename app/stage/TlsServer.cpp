#include "app/stage/TlsServer.h"

#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QSslCertificate>
#include <QSslKey>
#include <QSslSocket>
#include <QTimer>

#include <future>

namespace deskpanel {
namespace {

constexpr int TrialHandshakeMs = 5000;

std::optional<QByteArray> readFile(const QString& path, QString& why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
        return std::nullopt;
    }
    // A PEM certificate or key is a few kilobytes; a chain a few more.
    constexpr qint64 MaxPemBytes = 1024 * 1024;
    const QByteArray bytes = file.read(MaxPemBytes + 1);
    if (bytes.size() > MaxPemBytes) {
        why = QStringLiteral("it is larger than a PEM file can be");
        return std::nullopt;
    }
    return bytes;
}

QSslKey privateKey(const QByteArray& pem)
{
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        QSslKey key(pem, algorithm, QSsl::Pem, QSsl::PrivateKey);
        if (!key.isNull())
            return key;
    }
    return {};
}

// One TLS handshake of the configuration with itself over loopback, on an event loop of
// its own (the calling thread's is not run, so nothing else happens meanwhile). The
// reason it failed, or nothing.
QString handshakeWithItself(const QSslConfiguration& configuration)
{
    QEventLoop loop;
    TlsServer server;
    server.setTls(configuration);
    if (!server.listen(QHostAddress::LocalHost, 0))
        return QStringLiteral("it could not be tried: %1").arg(server.errorString());
    QString refused;
    bool clientThrough = false;
    bool serverThrough = false;
    const auto settle = [&] {
        if (!refused.isEmpty() || (clientThrough && serverThrough))
            loop.quit();
    };
    const auto fail = [&](const QString& why) {
        if (refused.isEmpty())
            refused = why.endsWith(QLatin1String(": ")) ? why.chopped(2) : why;
        settle();
    };
    QObject::connect(&server, &QTcpServer::newConnection, &loop, [&] {
        auto* side = qobject_cast<QSslSocket*>(server.nextPendingConnection());
        if (!side)
            return;
        // A key that is not the certificate's fails as the handshake starts, before any
        // signal could be heard.
        if (side->error() != QAbstractSocket::UnknownSocketError) {
            fail(side->errorString());
            return;
        }
        QObject::connect(side, &QSslSocket::encrypted, &loop, [&] {
            serverThrough = true;
            settle();
        });
        QObject::connect(side, &QSslSocket::errorOccurred, &loop, [&, side] { fail(side->errorString()); });
    });
    QSslSocket client;
    client.setPeerVerifyMode(QSslSocket::VerifyNone);
    QObject::connect(&client, &QSslSocket::encrypted, &loop, [&] {
        clientThrough = true;
        settle();
    });
    QObject::connect(&client, &QSslSocket::errorOccurred, &loop, [&] {
        // The server's end says why first when it knows.
        QTimer::singleShot(100, &loop, [&] { fail(client.errorString()); });
    });
    QTimer::singleShot(TrialHandshakeMs, &loop, [&] {
        fail(QStringLiteral("the TLS handshake did not finish in %1 s").arg(TrialHandshakeMs / 1000));
    });
    client.connectToHostEncrypted(QStringLiteral("127.0.0.1"), server.serverPort());
    loop.exec();
    return refused;
}

} // namespace

void TlsServer::incomingConnection(qintptr descriptor)
{
    if (!m_tls) {
        QTcpServer::incomingConnection(descriptor);
        return;
    }
    auto* socket = new QSslSocket(this);
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setSslConfiguration(*m_tls);
    socket->startServerEncryption();
    addPendingConnection(socket);
}

std::optional<QSslConfiguration> serverTls(const QString& certificatePath, const QString& keyPath, QString& why)
{
    QString reason;
    const auto fail = [&](const QString& text) {
        why = certificatePath.isEmpty()
                  ? QStringLiteral("The certificate cannot be used: %1").arg(text)
                  : QStringLiteral("The certificate %1 cannot be used: %2").arg(certificatePath, text);
        return std::nullopt;
    };
    if (certificatePath.isEmpty())
        return fail(QStringLiteral("no certificate file is chosen for the key %1").arg(keyPath));
    if (keyPath.isEmpty())
        return fail(QStringLiteral("no key file is chosen"));
    if (!QSslSocket::supportsSsl())
        return fail(QStringLiteral("this computer has no TLS library"));
    const std::optional<QByteArray> certificatePem = readFile(certificatePath, reason);
    if (!certificatePem)
        return fail(QStringLiteral("it cannot be read (%1)").arg(reason));
    const QList<QSslCertificate> chain = QSslCertificate::fromData(*certificatePem, QSsl::Pem);
    if (chain.isEmpty() || chain.front().isNull())
        return fail(QStringLiteral("it holds no PEM certificate"));
    const std::optional<QByteArray> keyPem = readFile(keyPath, reason);
    if (!keyPem)
        return fail(QStringLiteral("the key %1 cannot be read (%2)").arg(keyPath, reason));
    const QSslKey key = privateKey(*keyPem);
    if (key.isNull())
        return fail(QStringLiteral("the key %1 holds no unencrypted PEM private key").arg(keyPath));

    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificateChain(chain);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    configuration.setProtocol(QSsl::TlsV1_2OrLater);
    // Whether the two belong together is found by one handshake; the backend refuses a key
    // that is not the certificate's here, not at a phone's first connection. It runs on a
    // thread of its own, so this thread's event loop is not entered meanwhile.
    const QString refused = std::async(std::launch::async, handshakeWithItself, configuration).get();
    if (!refused.isEmpty())
        return fail(
            QStringLiteral("the key %1 does not belong to it or cannot be used with it (%2)").arg(keyPath, refused));
    why.clear();
    return configuration;
}

} // namespace deskpanel
