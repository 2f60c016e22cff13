#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace deskpanel {

// The frames of a page's WebSocket (RFC 6455) as the server reads and writes them, with
// no socket: the connection feeds the bytes it receives and sends what it is told to.
namespace websocket {

enum class Opcode : std::uint8_t {
    Continuation = 0x0,
    Text = 0x1,
    Binary = 0x2,
    Close = 0x8,
    Ping = 0x9,
    Pong = 0xA,
};

// The close codes this server sends.
constexpr std::uint16_t NormalClosure = 1000;
constexpr std::uint16_t ProtocolError = 1002;
constexpr std::uint16_t NoStatus = 1005; // only ever reported, never sent
constexpr std::uint16_t InvalidText = 1007;
constexpr std::uint16_t PolicyViolated = 1008;
constexpr std::uint16_t TooBig = 1009;

// Control frames carry at most this much.
constexpr std::size_t MaxControlBytes = 125;

// What a run of received bytes completed.
struct Event {
    enum class Kind {
        Text, // a whole text message, valid UTF-8
        Binary, // a whole binary message
        Ping,
        Pong,
        Close, // the peer closes with `code` (NoStatus when it gave none) and `payload` its reason
        Error, // the peer broke the protocol: close with `code`, `payload` says why
    };
    Kind kind;
    std::string payload;
    std::uint16_t code = 0;
};

// Reads a client's frames: masked, assembled from their fragments, each message at most
// `maxMessageBytes`. After a Close or an Error it reads nothing more.
class FrameReader {
public:
    explicit FrameReader(std::size_t maxMessageBytes) : m_maxMessageBytes(maxMessageBytes) {}

    // Appends to `events` whatever the bytes complete; a frame cut short waits for the rest.
    void feed(std::string_view bytes, std::vector<Event>& events);
    bool ended() const { return m_ended; }

private:
    // One frame from the start of `bytes`: its size, or 0 while it is not whole (or failed).
    std::size_t readFrame(std::string_view bytes, std::vector<Event>& events);
    // Reports the error and ends the reading; 0, as for a frame not read.
    std::size_t fail(std::vector<Event>& events, std::uint16_t code, std::string why);

    std::size_t m_maxMessageBytes;
    std::string m_pending; // received bytes not yet read as a frame
    std::string m_message; // the fragments of the message so far
    bool m_inMessage = false;
    bool m_messageIsText = false;
    bool m_ended = false;
};

// A server frame: final, never masked.
std::string frame(Opcode opcode, std::string_view payload);
// A close frame with `code` (none when it is NoStatus) and a reason, cut to fit.
std::string closeFrame(std::uint16_t code, std::string_view reason = {});

} // namespace websocket
} // namespace deskpanel
