// The Stage Remote's server over real loopback TCP: what it refuses, the pairing, and a
// page's WebSocket from hello to a gain step to its revocation.
#include "app/stage/StageServer.h"
#include "app/DeskPanelApp.h"
#include "app/stage/HttpRequest.h"
#include "tests/app/RackProcess.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/ui/UiTestSupport.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QWebSocket>

#include <gtest/gtest.h>

using namespace deskpanel;
using uitest::pumpUntil;

namespace {

struct StageShell {
    StageShell() : ports(test::freshPorts(14)), app(ports, op), server(app, nullptr)
    {
        app.start();
        StageSettings settings;
        settings.enabled = true;
        settings.port = 0; // any free port
        server.store(settings);
    }
    ~StageShell() { app.stop(); }

    QByteArray host() const { return "127.0.0.1:" + QByteArray::number(port()); }
    quint16 port() const { return static_cast<quint16>(QUrl(server.pageAddress()).port()); }

    // One request on a connection of its own; the status and the whole answer.
    std::pair<int, QByteArray> request(const QByteArray& bytes)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port());
        EXPECT_TRUE(pumpUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, 5000));
        socket.write(bytes);
        QByteArray answer;
        pumpUntil(
            [&] {
                answer += socket.readAll();
                return socket.state() == QAbstractSocket::UnconnectedState;
            },
            5000);
        answer += socket.readAll();
        return {answer.mid(9, 3).toInt(), answer};
    }
    std::pair<int, QByteArray> get(const QByteArray& path, const QByteArray& headers = {})
    {
        return request("GET " + path + " HTTP/1.1\r\nHost: " + host() + "\r\n" + headers + "\r\n");
    }
    std::pair<int, QByteArray> pair(const QByteArray& code, const QByteArray& origin = {})
    {
        const QByteArray body = R"({"code":")" + code + R"(","name":"Stage left"})";
        return request("POST /pair HTTP/1.1\r\nHost: " + host() + "\r\nOrigin: " +
                       (origin.isEmpty() ? "http://" + host() : origin) + "\r\nContent-Type: application/json\r\n" +
                       "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    }

    LinkPorts ports;
    test::ScriptedOperator op;
    DeskPanelApp app;
    StageServer server;
};

QByteArray tokenOf(const QByteArray& answer)
{
    const qsizetype at = answer.indexOf("deskpanel_token=");
    return at < 0 ? QByteArray() : answer.mid(at + 16, 32);
}

} // namespace

TEST(HttpRequestReader, ReadsWhatPagesSendAndRefusesTheRest)
{
    using S = HttpReading::Status;
    const QByteArray big(HttpRequest::MaxBytes, 'x');
    const struct {
        QByteArray bytes;
        S status;
    } cases[] = {
        {"GET /stage.js?v=2 HTTP/1.1\r\nHost: a:1\r\nCookie: x=1; deskpanel_token=ab\r\n\r\n", S::Complete},
        {"GET / HTTP/1.1\r\nHost: a", S::Incomplete},
        {"POST /pair HTTP/1.1\r\nContent-Length: 10\r\n\r\n12345", S::Incomplete},
        {"POST /pair HTTP/1.1\r\nContent-Length: 99999\r\n\r\n", S::TooLarge},
        {"GET /" + big + " HTTP/1.1\r\n\r\n", S::TooLarge},
        {big + 'x', S::TooLarge},
        {"GET / HTTP/1.1\r\nHost: a\r\nHost: b\r\n\r\n", S::Malformed},
        {"GET / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", S::Malformed},
        {"GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", S::Malformed},
        {"GET nowhere HTTP/1.1\r\n\r\n", S::Malformed},
        {"GET / SPDY/3\r\n\r\n", S::Malformed},
        {"GET / HTTP/1.1\r\nno colon\r\n\r\n", S::Malformed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.left(60).toStdString());
        EXPECT_EQ(readHttpRequest(c.bytes).status, c.status);
    }
    const HttpRequest first = readHttpRequest(cases[0].bytes).request;
    EXPECT_EQ(first.path, "/stage.js");
    EXPECT_EQ(first.cookie("deskpanel_token"), "ab");
    EXPECT_EQ(first.header("host"), "a:1");
}

TEST(StageServer, RefusesStrangersPairsWithTheCodeAndServesAPageUntilRevoked)
{
    StageShell shell;
    ASSERT_TRUE(shell.server.isListening());
    EXPECT_EQ(shell.get("/").first, 200);
    EXPECT_TRUE(shell.get("/stage.js").second.contains("X-Content-Type-Options: nosniff"));
    EXPECT_EQ(shell.get("/nothing").first, 404);
    EXPECT_EQ(shell.get("/session").first, 401);

    // Refused, each counted: a foreign Host (DNS rebinding), a request over 64 KB, a pairing
    // from a foreign page, a WebSocket without a paired device.
    const std::uint64_t before = shell.server.refusals();
    EXPECT_EQ(shell.request("GET / HTTP/1.1\r\nHost: evil.example:80\r\n\r\n").first, 403);
    EXPECT_EQ(shell.get("/", "X-Pad: " + QByteArray(70000, 'p') + "\r\n").first, 413);
    EXPECT_EQ(shell.pair("000000", "http://evil.example").first, 403);
    EXPECT_EQ(shell
                  .get("/live", "Upgrade: websocket\r\nConnection: Upgrade\r\nOrigin: http://" + shell.host() +
                                    "\r\nSec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\n")
                  .first,
              403);
    EXPECT_EQ(shell.server.refusals(), before + 4);

    // No code open; then five wrong codes void the one shown.
    EXPECT_EQ(shell.pair("123456").first, 410);
    const std::string code = shell.server.openPairing(StagePermission::Control);
    const QByteArray wrong = code == "000000" ? "111111" : "000000";
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(shell.pair(wrong).first, 403);
    EXPECT_EQ(shell.pair(QByteArray::fromStdString(code)).first, 410) << "voided after five wrong codes";

    const auto [status, answer] =
        shell.pair(QByteArray::fromStdString(shell.server.openPairing(StagePermission::Control)));
    ASSERT_EQ(status, 200) << answer.toStdString();
    EXPECT_TRUE(answer.contains("; Path=/; Max-Age=34560000; HttpOnly; SameSite=Strict"));
    const QByteArray token = tokenOf(answer);
    ASSERT_EQ(token.size(), 32);
    ASSERT_EQ(shell.server.settings().devices.size(), 1u);
    EXPECT_EQ(shell.server.settings().devices[0].tokenHash, StagePairing::tokenHash(token.toStdString()))
        << "only the token's hash is kept";
    EXPECT_EQ(shell.get("/session", "Cookie: deskpanel_token=" + token + "\r\n").first, 200);

    // The page's socket: hello, then a +3 dB step applied as a fader move would be.
    QWebSocket page(QStringLiteral("http://") + QString::fromLatin1(shell.host()));
    QNetworkRequest live(QUrl(QStringLiteral("ws://%1/live").arg(QString::fromLatin1(shell.host()))));
    live.setRawHeader("Cookie", "deskpanel_token=" + token);
    QStringList heard;
    QObject::connect(&page, &QWebSocket::textMessageReceived, [&](const QString& text) { heard << text; });
    page.open(live);
    ASSERT_TRUE(pumpUntil([&] { return !heard.isEmpty(); }, 5000));
    EXPECT_EQ(QJsonDocument::fromJson(heard.front().toUtf8()).object().value("a").toString(), "/deskpanel/hello");
    const int gain = shell.app.channels().gainDbOf(4);
    page.sendTextMessage(QStringLiteral(R"({"a":"/deskpanel/ch/5/gain/step","v":[3]})"));
    EXPECT_TRUE(pumpUntil([&] { return shell.app.channels().gainDbOf(4) == gain + 3; }, 5000));

    // Revoked: its socket is closed at once and its cookie opens nothing any more.
    QWebSocketProtocol::CloseCode closed = QWebSocketProtocol::CloseCodeNormal;
    QObject::connect(&page, &QWebSocket::disconnected, [&] { closed = page.closeCode(); });
    ASSERT_TRUE(shell.server.revoke(0));
    EXPECT_TRUE(pumpUntil([&] { return page.state() == QAbstractSocket::UnconnectedState; }, 5000));
    EXPECT_EQ(closed, QWebSocketProtocol::CloseCodePolicyViolated);
    EXPECT_EQ(shell.get("/session", "Cookie: deskpanel_token=" + token + "\r\n").first, 401);
}
