#include "core/remote/OscCodec.h"

#include <bit>
#include <cstring>

namespace deskpanel::osc {
namespace {

constexpr char BundleTag[] = "#bundle"; // with its NUL, 8 bytes

std::size_t padded(std::size_t size)
{
    return (size + 3) & ~std::size_t{3};
}

std::uint32_t readBigEndian(const std::uint8_t* p)
{
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendBigEndian64(std::vector<std::uint8_t>& out, std::uint64_t value)
{
    appendBigEndian(out, static_cast<std::uint32_t>(value >> 32));
    appendBigEndian(out, static_cast<std::uint32_t>(value));
}

void appendString(std::vector<std::uint8_t>& out, const std::string& text)
{
    // A string ends at its first NUL on the wire; one inside the text would cut it short.
    const std::size_t length = std::min(text.size(), std::strlen(text.c_str()));
    out.insert(out.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
    const std::size_t total = padded(length + 1);
    out.insert(out.end(), total - length, 0);
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool atEnd() const { return m_at == m_size; }
    std::size_t left() const { return m_size - m_at; }

    // An OSC-string: text up to a NUL, padded with NULs to a multiple of four.
    bool string(std::string& out)
    {
        const void* nul = std::memchr(m_data + m_at, 0, left());
        if (!nul)
            return false;
        const std::size_t length = static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - (m_data + m_at));
        const std::size_t total = padded(length + 1);
        if (total > left())
            return false;
        for (std::size_t i = length; i < total; ++i)
            if (m_data[m_at + i] != 0)
                return false;
        out.assign(reinterpret_cast<const char*>(m_data + m_at), length);
        m_at += total;
        return true;
    }
    bool word(std::uint32_t& out)
    {
        if (left() < 4)
            return false;
        out = readBigEndian(m_data + m_at);
        m_at += 4;
        return true;
    }
    bool skip(std::size_t bytes)
    {
        if (left() < bytes)
            return false;
        m_at += bytes;
        return true;
    }
    const std::uint8_t* here() const { return m_data + m_at; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

class Decoder {
public:
    explicit Decoder(OscPacket& packet) : m_packet(packet) {}

    bool element(const std::uint8_t* data, std::size_t size, int depth)
    {
        if (size >= 8 && std::memcmp(data, BundleTag, 8) == 0)
            return bundle(data, size, depth);
        return message(data, size);
    }

private:
    bool fail(std::string what)
    {
        m_packet.error = std::move(what);
        return false;
    }

    bool bundle(const std::uint8_t* data, std::size_t size, int depth)
    {
        if (depth >= MaxBundleDepth)
            return fail("bundles nested too deeply");
        Reader in(data, size);
        std::uint32_t timeHigh = 0;
        std::uint32_t timeLow = 0;
        if (!in.skip(8) || !in.word(timeHigh) || !in.word(timeLow))
            return fail("bundle shorter than its header");
        while (!in.atEnd()) {
            std::uint32_t length = 0;
            if (!in.word(length))
                return fail("bundle element without its size");
            if (length == 0 || length % 4 != 0 || length > in.left())
                return fail("bundle element size does not fit");
            const std::uint8_t* inner = in.here();
            in.skip(length);
            if (!element(inner, length, depth + 1))
                return false;
        }
        return true;
    }

    bool message(const std::uint8_t* data, std::size_t size)
    {
        if (m_packet.messages.size() >= MaxMessagesPerPacket)
            return fail("too many messages in one packet");
        Reader in(data, size);
        OscMessage message;
        if (!in.string(message.address) || message.address.empty() || message.address[0] != '/')
            return fail("not an OSC message");
        std::string tags;
        if (in.atEnd()) {
            // Senders from before type tags send none for a message without arguments.
            m_packet.messages.push_back(std::move(message));
            return true;
        }
        if (!in.string(tags) || tags.empty() || tags[0] != ',')
            return fail("type tags missing: " + message.address);
        for (std::size_t i = 1; i < tags.size(); ++i) {
            std::uint32_t word = 0;
            std::uint32_t low = 0;
            switch (tags[i]) {
            case 'i':
                if (!in.word(word))
                    return fail("argument missing: " + message.address);
                message.arguments.emplace_back(static_cast<std::int32_t>(word));
                break;
            case 'f':
                if (!in.word(word))
                    return fail("argument missing: " + message.address);
                message.arguments.emplace_back(std::bit_cast<float>(word));
                break;
            case 's': {
                std::string text;
                if (!in.string(text))
                    return fail("argument missing: " + message.address);
                message.arguments.emplace_back(std::move(text));
                break;
            }
            case 'd':
            case 'h':
                if (!in.word(word) || !in.word(low))
                    return fail("argument missing: " + message.address);
                if (tags[i] == 'h')
                    message.arguments.emplace_back(static_cast<std::int64_t>((std::uint64_t{word} << 32) | low));
                else
                    message.arguments.emplace_back(std::bit_cast<double>((std::uint64_t{word} << 32) | low));
                break;
            case 'b': {
                if (!in.word(word) || word > in.left() || !in.skip(0))
                    return fail("argument missing: " + message.address);
                const std::uint8_t* at = in.here();
                if (!in.skip(padded(word)))
                    return fail("argument missing: " + message.address);
                message.arguments.emplace_back(OscBlob{std::vector<std::uint8_t>(at, at + word)});
                break;
            }
            case 'T': message.arguments.emplace_back(true); break;
            case 'F': message.arguments.emplace_back(false); break;
            case 'N':
            case 'I': message.arguments.emplace_back(OscNoData{tags[i]}); break;
            default:
                // Its size is unknown, so the rest of this message cannot be read; the
                // message's own size (a bundle element's) lets the others go on.
                message.arguments.clear();
                message.unreadable = std::string("unsupported argument type '") + tags[i] + "'";
                m_packet.messages.push_back(std::move(message));
                return true;
            }
        }
        if (!in.atEnd())
            return fail("bytes after the arguments: " + message.address);
        m_packet.messages.push_back(std::move(message));
        return true;
    }

    OscPacket& m_packet;
};

} // namespace

OscPacket decode(const std::uint8_t* data, std::size_t size)
{
    OscPacket packet;
    if (size == 0)
        packet.error = "empty packet";
    else if (size > MaxPacketBytes)
        packet.error = "packet too large";
    else if (size % 4 != 0)
        packet.error = "packet size is not a multiple of four";
    if (!packet.error.empty())
        return packet;
    Decoder decoder(packet);
    if (!decoder.element(data, size, 0))
        packet.messages.clear();
    return packet;
}

std::vector<std::uint8_t> encodeMessage(const OscMessage& message)
{
    std::vector<std::uint8_t> out;
    appendString(out, message.address);
    std::string tags = ",";
    for (const OscArgument& argument : message.arguments) {
        if (const auto* b = std::get_if<bool>(&argument))
            tags += *b ? 'T' : 'F';
        else if (const auto* none = std::get_if<OscNoData>(&argument))
            tags += none->tag == 'I' ? 'I' : 'N';
        else if (std::holds_alternative<OscBlob>(argument))
            tags += 'b';
        else
            tags += "ifsdh"[argument.index()];
    }
    appendString(out, tags);
    for (const OscArgument& argument : message.arguments) {
        if (const auto* i = std::get_if<std::int32_t>(&argument))
            appendBigEndian(out, static_cast<std::uint32_t>(*i));
        else if (const auto* f = std::get_if<float>(&argument))
            appendBigEndian(out, std::bit_cast<std::uint32_t>(*f));
        else if (const auto* text = std::get_if<std::string>(&argument))
            appendString(out, *text);
        else if (const auto* d = std::get_if<double>(&argument))
            appendBigEndian64(out, std::bit_cast<std::uint64_t>(*d));
        else if (const auto* h = std::get_if<std::int64_t>(&argument))
            appendBigEndian64(out, static_cast<std::uint64_t>(*h));
        else if (const auto* blob = std::get_if<OscBlob>(&argument)) {
            appendBigEndian(out, static_cast<std::uint32_t>(blob->bytes.size()));
            out.insert(out.end(), blob->bytes.begin(), blob->bytes.end());
            out.insert(out.end(), padded(blob->bytes.size()) - blob->bytes.size(), 0);
        }
    }
    return out;
}

BundleWriter::BundleWriter(std::size_t maxBytes) : m_maxBytes(maxBytes)
{}

bool BundleWriter::add(const std::vector<std::uint8_t>& encodedMessage)
{
    const std::size_t now = m_count == 0 ? BundleHeaderBytes : m_bytes.size();
    if (now + 4 + encodedMessage.size() > m_maxBytes)
        return false;
    if (m_count == 0) {
        m_bytes.assign(BundleTag, BundleTag + 8);
        appendBigEndian(m_bytes, 0);
        appendBigEndian(m_bytes, 1); // "immediately"
    }
    appendBigEndian(m_bytes, static_cast<std::uint32_t>(encodedMessage.size()));
    m_bytes.insert(m_bytes.end(), encodedMessage.begin(), encodedMessage.end());
    ++m_count;
    return true;
}

std::vector<std::uint8_t> BundleWriter::take()
{
    std::vector<std::uint8_t> out = std::move(m_bytes);
    m_bytes.clear();
    m_count = 0;
    return out;
}

} // namespace deskpanel::osc
