#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace deskpanel {

// The argument types that carry no data: 'N' (nil) and 'I' (impulse, "bang").
struct OscNoData {
    char tag = 'N';
    bool operator==(const OscNoData&) const = default;
};

// 'b': a blob of bytes.
struct OscBlob {
    std::vector<std::uint8_t> bytes;
    bool operator==(const OscBlob&) const = default;
};

// One argument of an OSC message: 'i' (32-bit integer), 'f' (32-bit float), 's', and
// what common clients send besides: 'd' (64-bit float), 'h' (64-bit integer), 'T' and
// 'F' (true and false, no data), 'N' and 'I'.
using OscArgument = std::variant<std::int32_t, float, std::string, double, std::int64_t, bool, OscNoData, OscBlob>;

struct OscMessage {
    std::string address;
    std::vector<OscArgument> arguments;
    // Set when the message carried an argument type that cannot be read: it is answered
    // and skipped, the other messages of its bundle are not.
    std::string unreadable{};

    bool operator==(const OscMessage&) const = default;
};

// What a datagram held: every message in order, bundles taken apart (their time tags
// are not kept: everything is applied at once), or what was wrong with it. A packet
// with any fault yields no messages at all, so nothing of it is applied.
struct OscPacket {
    std::vector<OscMessage> messages;
    std::string error; // empty when the packet was sound
};

namespace osc {

// No datagram is larger than this; anything longer is refused unread.
constexpr std::size_t MaxPacketBytes = 65507;
// Bundles inside bundles deeper than this are refused, so reading never recurses
// without bound.
constexpr int MaxBundleDepth = 8;
// The largest number of messages one packet may carry.
constexpr std::size_t MaxMessagesPerPacket = 4096;
// Feedback datagrams stay below the Ethernet payload so they are never fragmented.
constexpr std::size_t MaxFeedbackDatagram = 1472;

OscPacket decode(const std::uint8_t* data, std::size_t size);

std::vector<std::uint8_t> encodeMessage(const OscMessage& message);

// Puts encoded messages into one bundle (time tag "immediately") of at most `maxBytes`.
class BundleWriter {
public:
    explicit BundleWriter(std::size_t maxBytes = MaxFeedbackDatagram);

    // False (and nothing added) when the message does not fit into the bundle any more;
    // a message that could never fit is refused even into an empty bundle.
    bool add(const std::vector<std::uint8_t>& encodedMessage);
    bool empty() const { return m_count == 0; }
    // The datagram built so far; the writer starts over.
    std::vector<std::uint8_t> take();

private:
    std::size_t m_maxBytes;
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_count = 0;
};

// The bytes of an empty bundle: "#bundle", its NUL, the time tag 1 ("immediately").
constexpr std::size_t BundleHeaderBytes = 16;

} // namespace osc
} // namespace deskpanel
