// The Stage Remote's own WebSocket: the frames it reads from a page, fed whole and byte
// by byte, the frames it writes, and the handshake's answer.
#include "app/stage/WebSocketConnection.h"
#include "core/stage/StageMessage.h"
#include "core/stage/WebSocketFrames.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using namespace deskpanel;
using namespace deskpanel::websocket;

namespace {

// A client's frame: `first` is FIN, the reserved bits and the opcode; masked unless told.
std::string clientFrame(std::uint8_t first, const std::string& payload, bool masked = true)
{
    std::string bytes(1, static_cast<char>(first));
    const char maskBit = masked ? char(0x80) : char(0);
    if (payload.size() < 126) {
        bytes += static_cast<char>(maskBit | static_cast<char>(payload.size()));
    } else if (payload.size() <= 0xFFFF) {
        bytes += {static_cast<char>(maskBit | 126), static_cast<char>(payload.size() >> 8),
                  static_cast<char>(payload.size() & 0xFF)};
    } else {
        bytes += static_cast<char>(maskBit | 127);
        for (int shift = 56; shift >= 0; shift -= 8)
            bytes += static_cast<char>((payload.size() >> shift) & 0xFF);
    }
    const std::string key = "\x37\xfa\x21\x3d";
    if (masked)
        bytes += key;
    for (std::size_t i = 0; i < payload.size(); ++i)
        bytes += masked ? static_cast<char>(payload[i] ^ key[i % 4]) : payload[i];
    return bytes;
}

std::string describe(const std::vector<Event>& events)
{
    static const char* const names[] = {"text", "binary", "ping", "pong", "close", "error"};
    std::string text;
    for (const Event& event : events) {
        text += names[static_cast<int>(event.kind)];
        if (event.kind == Event::Kind::Close || event.kind == Event::Kind::Error)
            text += ' ' + std::to_string(event.code);
        if (event.kind != Event::Kind::Error && !event.payload.empty())
            text += ' ' + (event.payload.size() > 20 ? std::to_string(event.payload.size()) + " bytes" : event.payload);
        text += ';';
    }
    return text;
}

} // namespace

TEST(StageWebSocketFrames, ReadsWhatBrowsersSendAndClosesOnWhatTheyMustNot)
{
    const std::string most(stage::MaxMessageBytes, 'a');
    const struct {
        const char* what;
        std::string bytes;
        const char* events;
    } cases[] = {
        {"masked text", clientFrame(0x81, "hello"), "text hello;"},
        {"binary", clientFrame(0x82, "\x01\x02"), "binary \x01\x02;"},
        {"fragments with a ping between", clientFrame(0x01, "Hel") + clientFrame(0x89, "p") + clientFrame(0x80, "lo"),
         "ping p;text Hello;"},
        {"a character split over fragments", clientFrame(0x01, "\xC3") + clientFrame(0x80, "\xA9"), "text \xC3\xA9;"},
        {"the largest message", clientFrame(0x81, most), "text 65536 bytes;"},
        {"pong, then close with its code",
         clientFrame(0x8A, "") + clientFrame(0x88, "\x03\xE9"
                                                   "bye"),
         "pong;close 1001 bye;"},
        {"close without a code", clientFrame(0x88, ""), "close 1005;"},
        {"nothing read after a close", clientFrame(0x88, "\x03\xE8") + clientFrame(0x81, "late"), "close 1000;"},
        {"unmasked", clientFrame(0x81, "hello", false), "error 1002;"},
        {"reserved bit", clientFrame(0xC1, "hello"), "error 1002;"},
        {"unknown opcode", clientFrame(0x83, "x"), "error 1002;"},
        {"ping over 125 bytes", clientFrame(0x89, std::string(126, 'p')), "error 1002;"},
        {"fragmented ping", clientFrame(0x09, "p"), "error 1002;"},
        {"continuation first", clientFrame(0x80, "x"), "error 1002;"},
        {"text inside a fragmented text", clientFrame(0x01, "a") + clientFrame(0x81, "b"), "error 1002;"},
        {"close of one byte", clientFrame(0x88, "\x03"), "error 1002;"},
        {"close code never sent", clientFrame(0x88, "\x03\xED"), "error 1002;"},
        {"bad UTF-8", clientFrame(0x81, "ok\xC3\x28"), "error 1007;"},
        {"message over the limit", clientFrame(0x81, most + 'a'), "error 1009;"},
        {"fragments over the limit", clientFrame(0x01, most) + clientFrame(0x80, "a"), "error 1009;"},
        {"length with its top bit", std::string("\x81\xFF\x80\0\0\0\0\0\0\x05", 10), "error 1002;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        FrameReader whole(stage::MaxMessageBytes);
        std::vector<Event> events;
        whole.feed(c.bytes, events);
        EXPECT_EQ(describe(events), c.events);
        // A frame split anywhere by the network reads the same.
        FrameReader piecemeal(stage::MaxMessageBytes);
        std::vector<Event> pieces;
        for (const char byte : c.bytes)
            piecemeal.feed(std::string_view(&byte, 1), pieces);
        EXPECT_EQ(describe(pieces), c.events);
    }
}

TEST(StageWebSocketFrames, WritesUnmaskedFramesWithTheShortestLength)
{
    EXPECT_EQ(frame(Opcode::Text, "hi"), std::string("\x81\x02hi"));
    EXPECT_EQ(frame(Opcode::Pong, "").size(), 2u);
    EXPECT_EQ(frame(Opcode::Text, std::string(200, 'x')).substr(0, 4), std::string("\x81\x7E\x00\xC8", 4));
    EXPECT_EQ(frame(Opcode::Text, std::string(70000, 'x')).substr(0, 10),
              std::string("\x81\x7F\0\0\0\0\0\x01\x11\x70", 10));
    EXPECT_EQ(closeFrame(PolicyViolated, "revoked"), std::string("\x88\x09\x03\xF0revoked"));
    EXPECT_EQ(closeFrame(NoStatus), std::string("\x88\x00", 2));
    // A long reason is cut to the control frame's 125 bytes, at a character's start.
    const std::string cut =
        closeFrame(ProtocolError, std::string(60, 'a') + std::string(40, 'x') + "\xC3\xA9" + std::string(30, 'b'));
    EXPECT_EQ(static_cast<std::uint8_t>(cut[1]), 125u);
    FrameReader reader(stage::MaxMessageBytes);
    std::vector<Event> events;
    reader.feed(clientFrame(0x88, cut.substr(2)), events);
    EXPECT_EQ(describe(events), "close 1002 123 bytes;") << "what is written reads back, still UTF-8";
}

TEST(StageWebSocketHandshake, AcceptsVersion13WithAKeyAndRefusesTheRest)
{
    EXPECT_EQ(webSocketAccept("dGhlIHNhbXBsZSBub25jZQ=="), "s3pPLMBiTxaQ9kYGzzhZRbK+xOo=");
    const struct {
        QByteArray version;
        QByteArray key;
        int status;
        QByteArray header;
    } cases[] = {
        {"13", "dGhlIHNhbXBsZSBub25jZQ==", 101, "Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo=\r\n"},
        {"8", "dGhlIHNhbXBsZSBub25jZQ==", 426, "Sec-WebSocket-Version: 13\r\n"},
        {"", "dGhlIHNhbXBsZSBub25jZQ==", 426, "Sec-WebSocket-Version: 13\r\n"},
        {"13", "", 400, ""},
        {"13", "dGhlIHNhbXBsZSBub25j", 400, ""}, // 15 bytes
        {"13", "dGhlIHNhbXBsZSBub25jZT8/", 400, ""}, // 17 bytes
        {"13", "dGhlIHNhbXBsZSBub25j*Q==", 400, ""}, // not base64
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version.toStdString() + " " + c.key.toStdString());
        HttpRequest request;
        if (!c.version.isEmpty())
            request.headers["sec-websocket-version"] = c.version;
        request.headers["sec-websocket-key"] = c.key;
        const WebSocketHandshake answer = webSocketHandshake(request);
        EXPECT_EQ(answer.status, c.status);
        EXPECT_TRUE(answer.headers.contains(c.header)) << answer.headers.toStdString();
        EXPECT_EQ(answer.why.isEmpty(), c.status == 101);
    }
}
