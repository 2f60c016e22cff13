#include "app/stage/HttpRequest.h"

#include <QList>

namespace deskpanel {
namespace {

constexpr int MaxHeaderFields = 100;

HttpReading status(HttpReading::Status status)
{
    HttpReading reading;
    reading.status = status;
    return reading;
}

bool isToken(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (c <= ' ' || c >= 127 || c == ':')
            return false;
    return true;
}

} // namespace

QByteArray HttpRequest::cookie(const QByteArray& name) const
{
    for (const QByteArray& pair : header("cookie").split(';')) {
        const QByteArray trimmed = pair.trimmed();
        const qsizetype equals = trimmed.indexOf('=');
        if (equals > 0 && trimmed.left(equals).trimmed() == name)
            return trimmed.mid(equals + 1).trimmed();
    }
    return {};
}

bool HttpRequest::isWebSocketUpgrade() const
{
    return header("upgrade").toLower() == "websocket";
}

HttpReading readHttpRequest(const QByteArray& bytes)
{
    const qsizetype end = bytes.indexOf("\r\n\r\n");
    if (end < 0)
        return status(bytes.size() > HttpRequest::MaxBytes ? HttpReading::Status::TooLarge
                                                           : HttpReading::Status::Incomplete);
    if (end + 4 > HttpRequest::MaxBytes)
        return status(HttpReading::Status::TooLarge);

    const QList<QByteArray> lines = bytes.left(end).split('\n');
    const QList<QByteArray> requestLine = lines.front().trimmed().split(' ');
    if (requestLine.size() != 3 || !isToken(requestLine[0]) || !requestLine[1].startsWith('/') ||
        !requestLine[2].startsWith("HTTP/1."))
        return status(HttpReading::Status::Malformed);
    if (lines.size() - 1 > MaxHeaderFields)
        return status(HttpReading::Status::Malformed);

    HttpReading reading;
    HttpRequest& request = reading.request;
    request.method = requestLine[0];
    const qsizetype query = requestLine[1].indexOf('?');
    request.path = query < 0 ? requestLine[1] : requestLine[1].left(query);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].endsWith('\r') ? lines[i].chopped(1) : lines[i];
        const qsizetype colon = line.indexOf(':');
        const QByteArray name = line.left(colon).toLower();
        if (colon <= 0 || !isToken(name))
            return status(HttpReading::Status::Malformed);
        // A repeated field would let two readers see two different requests.
        if (request.headers.contains(name) && name != "cookie")
            return status(HttpReading::Status::Malformed);
        const QByteArray value = line.mid(colon + 1).trimmed();
        request.headers[name] = request.headers.contains(name) ? request.headers[name] + "; " + value : value;
    }
    if (request.headers.contains("transfer-encoding"))
        return status(HttpReading::Status::Malformed); // pages send bodies with a length only

    qsizetype bodyBytes = 0;
    if (request.headers.contains("content-length")) {
        bool ok = false;
        bodyBytes = request.header("content-length").toLongLong(&ok);
        if (!ok || bodyBytes < 0)
            return status(HttpReading::Status::Malformed);
    }
    if (bodyBytes > HttpRequest::MaxBytes - (end + 4))
        return status(HttpReading::Status::TooLarge);
    if (bytes.size() < end + 4 + bodyBytes)
        return status(HttpReading::Status::Incomplete);
    request.body = bytes.mid(end + 4, bodyBytes);
    request.length = end + 4 + bodyBytes;
    reading.status = HttpReading::Status::Complete;
    return reading;
}

} // namespace deskpanel
