#include "core/stage/WebSocketFrames.h"

#include "core/model/Text.h"

namespace deskpanel::websocket {
namespace {

// The codes a peer may close with: those defined for use in a close frame, and the
// ranges left to libraries and applications.
bool isSendableCloseCode(std::uint16_t code)
{
    return (code >= 1000 && code <= 1003) || (code >= 1007 && code <= 1011) || (code >= 3000 && code <= 4999);
}

} // namespace

void FrameReader::feed(std::string_view bytes, std::vector<Event>& events)
{
    if (m_ended)
        return;
    m_pending.append(bytes);
    std::size_t used = 0;
    while (!m_ended) {
        const std::size_t size = readFrame(std::string_view(m_pending).substr(used), events);
        if (size == 0)
            break;
        used += size;
    }
    if (m_ended)
        m_pending.clear();
    else
        m_pending.erase(0, used);
}

std::size_t FrameReader::readFrame(std::string_view bytes, std::vector<Event>& events)
{
    if (bytes.size() < 2)
        return 0;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
    const bool final = byte(0) & 0x80;
    const auto opcode = static_cast<Opcode>(byte(0) & 0x0F);
    const bool control = byte(0) & 0x08;
    std::uint64_t length = byte(1) & 0x7F;
    // Everything that can be refused is refused from the first bytes of a frame, before
    // its payload is waited for: a length of 2^63 is never buffered.
    if (byte(0) & 0x70)
        return fail(events, ProtocolError, "reserved bits set");
    switch (opcode) {
    case Opcode::Continuation:
    case Opcode::Text:
    case Opcode::Binary:
    case Opcode::Close:
    case Opcode::Ping:
    case Opcode::Pong: break;
    default: return fail(events, ProtocolError, "unknown opcode " + std::to_string(byte(0) & 0x0F));
    }
    if (!(byte(1) & 0x80))
        return fail(events, ProtocolError, "unmasked frame");
    if (control && (!final || length > MaxControlBytes))
        return fail(events, ProtocolError, "control frame fragmented or over 125 bytes");
    std::size_t header = 2;
    if (length == 126) {
        if (bytes.size() < 4)
            return 0;
        length = (byte(2) << 8) | byte(3);
        header = 4;
    } else if (length == 127) {
        if (bytes.size() < 10)
            return 0;
        length = 0;
        for (std::size_t i = 2; i < 10; ++i)
            length = (length << 8) | byte(i);
        if (length >> 63)
            return fail(events, ProtocolError, "length with its top bit set");
        header = 10;
    }
    if (!control) {
        if (opcode == Opcode::Continuation && !m_inMessage)
            return fail(events, ProtocolError, "continuation without a message");
        if (opcode != Opcode::Continuation && m_inMessage)
            return fail(events, ProtocolError, "new message before the last one ended");
        const std::size_t sofar = opcode == Opcode::Continuation ? m_message.size() : 0;
        if (length > m_maxMessageBytes - sofar)
            return fail(events, TooBig, "message over " + std::to_string(m_maxMessageBytes) + " bytes");
    }
    const std::size_t maskAt = header;
    header += 4;
    if (bytes.size() < header || bytes.size() - header < length)
        return 0;

    std::string payload(bytes.substr(header, length));
    for (std::size_t i = 0; i < payload.size(); ++i)
        payload[i] = static_cast<char>(payload[i] ^ bytes[maskAt + i % 4]);

    switch (opcode) {
    case Opcode::Ping: events.push_back({Event::Kind::Ping, std::move(payload)}); break;
    case Opcode::Pong: events.push_back({Event::Kind::Pong, std::move(payload)}); break;
    case Opcode::Close: {
        if (payload.size() == 1)
            return fail(events, ProtocolError, "close frame of one byte");
        const std::uint16_t code =
            payload.empty() ? NoStatus
                            : static_cast<std::uint16_t>((std::uint8_t(payload[0]) << 8) | std::uint8_t(payload[1]));
        if (!payload.empty() && !isSendableCloseCode(code))
            return fail(events, ProtocolError, "close code " + std::to_string(code));
        std::string reason = payload.empty() ? std::string() : payload.substr(2);
        if (!isUtf8(reason))
            return fail(events, InvalidText, "close reason not UTF-8");
        events.push_back({Event::Kind::Close, std::move(reason), code});
        m_ended = true;
        break;
    }
    default:
        if (opcode != Opcode::Continuation) {
            m_inMessage = true;
            m_messageIsText = opcode == Opcode::Text;
            m_message.clear();
        }
        m_message += payload;
        if (!final)
            break;
        m_inMessage = false;
        if (m_messageIsText && !isUtf8(m_message))
            return fail(events, InvalidText, "text not UTF-8");
        events.push_back({m_messageIsText ? Event::Kind::Text : Event::Kind::Binary, std::move(m_message)});
        m_message.clear();
    }
    return header + length;
}

std::size_t FrameReader::fail(std::vector<Event>& events, std::uint16_t code, std::string why)
{
    events.push_back({Event::Kind::Error, std::move(why), code});
    m_ended = true;
    m_message.clear();
    return 0;
}

std::string frame(Opcode opcode, std::string_view payload)
{
    std::string bytes;
    bytes.reserve(payload.size() + 10);
    bytes += static_cast<char>(0x80 | static_cast<std::uint8_t>(opcode));
    // The shortest form of the length, as a peer requires.
    if (payload.size() < 126) {
        bytes += static_cast<char>(payload.size());
    } else if (payload.size() <= 0xFFFF) {
        bytes += static_cast<char>(126);
        bytes += static_cast<char>(payload.size() >> 8);
        bytes += static_cast<char>(payload.size() & 0xFF);
    } else {
        bytes += static_cast<char>(127);
        for (int shift = 56; shift >= 0; shift -= 8)
            bytes += static_cast<char>((static_cast<std::uint64_t>(payload.size()) >> shift) & 0xFF);
    }
    bytes += payload;
    return bytes;
}

std::string closeFrame(std::uint16_t code, std::string_view reason)
{
    if (code == NoStatus)
        return frame(Opcode::Close, {});
    std::string payload{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
    // Cut at a character's start, so the reason stays UTF-8.
    std::size_t keep = 0;
    while (keep < reason.size()) {
        const std::size_t length = utf8CharacterLength(reason.substr(keep));
        if (length == 0 || keep + length > MaxControlBytes - 2)
            break;
        keep += length;
    }
    payload += reason.substr(0, keep);
    return frame(Opcode::Close, payload);
}

} // namespace deskpanel::websocket
