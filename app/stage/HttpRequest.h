#pragma once
#include <QByteArray>
#include <QMap>
#include <QString>

#include <optional>

namespace deskpanel {

// One HTTP/1.x request as a stage page's browser sends it: the request line, the header
// fields (names in lower case) and the body. The server reads only this much, so a
// request is at most MaxBytes in all.
struct HttpRequest {
    static constexpr qsizetype MaxBytes = 64 * 1024;

    QByteArray method;
    QByteArray path; // without the query
    QMap<QByteArray, QByteArray> headers;
    QByteArray body;
    qsizetype length = 0; // bytes of the whole request, head and body

    QByteArray header(const QByteArray& name) const { return headers.value(name); }
    // The value of one cookie; empty when it is not sent.
    QByteArray cookie(const QByteArray& name) const;
    bool isWebSocketUpgrade() const;
};

// What the bytes received so far hold.
struct HttpReading {
    enum class Status {
        Incomplete,
        Complete,
        TooLarge,
        Malformed
    };
    Status status = Status::Incomplete;
    HttpRequest request;
};

// Reads one request from the start of `bytes`, which may hold only part of it.
HttpReading readHttpRequest(const QByteArray& bytes);

} // namespace deskpanel
