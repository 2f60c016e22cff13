#include "core/stage/StageMessage.h"

#include "core/model/Text.h"
#include "core/stage/JsonText.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <type_traits>
#include <variant>

namespace deskpanel {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Reads the one object a frame holds, byte by byte. Arguments cannot nest, so reading
// needs no recursion and its work is bounded by the length of the text.
class StageMessageReader {
public:
    explicit StageMessageReader(std::string_view text) : m_text(text) {}

    std::optional<OscMessage> read(std::string& error);

private:
    bool fail(const std::string& what);
    bool atEnd() const { return m_at >= m_text.size(); }
    // NUL at the end: every caller compares with a character that is not NUL.
    char peek() const { return atEnd() ? '\0' : m_text[m_at]; }
    void skipBlanks();
    bool expect(char c, const char* what);
    bool readObject(OscMessage& message);
    bool readKey(std::string& key);
    bool readString(std::string& out, std::size_t maxBytes, const char* what);
    bool readEscape(std::string& out);
    bool readHex4(char32_t& value);
    bool readArguments(OscMessage& message);
    bool readArgument(OscMessage& message);
    bool readNumber(OscMessage& message);
    bool readWord(std::string_view word);

    std::string_view m_text;
    std::size_t m_at = 0;
    std::string m_error;
};

bool StageMessageReader::fail(const std::string& what)
{
    if (m_error.empty())
        m_error = what + " at byte " + std::to_string(m_at);
    return false;
}

void StageMessageReader::skipBlanks()
{
    while (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r')
        ++m_at;
}

bool StageMessageReader::expect(char c, const char* what)
{
    skipBlanks();
    if (peek() != c)
        return fail(std::string("expected ") + what);
    ++m_at;
    return true;
}

std::optional<OscMessage> StageMessageReader::read(std::string& error)
{
    OscMessage message;
    if (!readObject(message)) {
        error = m_error;
        return std::nullopt;
    }
    error.clear();
    return message;
}

bool StageMessageReader::readObject(OscMessage& message)
{
    if (m_text.size() > stage::MaxMessageBytes)
        return fail("a message larger than 64 KiB");
    if (!expect('{', "'{'"))
        return false;
    bool haveAddress = false;
    bool haveArguments = false;
    skipBlanks();
    if (peek() == '}') {
        ++m_at;
    } else {
        for (;;) {
            std::string key;
            if (!readKey(key) || !expect(':', "':'"))
                return false;
            skipBlanks();
            if (key == "a") {
                if (haveAddress)
                    return fail("the key \"a\" twice");
                haveAddress = true;
                if (peek() != '"')
                    return fail("an address that is not a string");
                if (!readString(message.address, stage::MaxAddressBytes, "an address"))
                    return false;
            } else {
                if (haveArguments)
                    return fail("the key \"v\" twice");
                haveArguments = true;
                if (!readArguments(message))
                    return false;
            }
            skipBlanks();
            if (peek() == '}') {
                ++m_at;
                break;
            }
            if (!expect(',', "',' or '}'"))
                return false;
        }
    }
    skipBlanks();
    if (!atEnd())
        return fail("text after the message");
    if (!haveAddress)
        return fail("no address (key \"a\")");
    if (message.address.empty() || message.address.front() != '/')
        return fail("an address that does not start with '/'");
    return true;
}

bool StageMessageReader::readKey(std::string& key)
{
    skipBlanks();
    if (peek() != '"')
        return fail("expected a key in quotes");
    const std::size_t start = m_at;
    if (!readString(key, stage::MaxStringBytes, "a key"))
        return false;
    if (key != "a" && key != "v") {
        m_at = start;
        std::string shown;
        json::appendString(shown, key.size() <= 32 ? key : key.substr(0, 32) + "...");
        return fail("an unknown key " + shown);
    }
    return true;
}

bool StageMessageReader::readString(std::string& out, std::size_t maxBytes, const char* what)
{
    ++m_at; // the opening quote
    out.clear();
    for (;;) {
        if (atEnd())
            return fail("a string without its closing quote");
        const unsigned char c = static_cast<unsigned char>(m_text[m_at]);
        if (c == '"') {
            ++m_at;
            return true;
        }
        if (c < 0x20)
            return fail("a control character in a string");
        if (c == '\\') {
            if (!readEscape(out))
                return false;
        } else {
            const std::size_t length = utf8CharacterLength(m_text.substr(m_at));
            if (length == 0)
                return fail("text that is not UTF-8");
            out.append(m_text.substr(m_at, length));
            m_at += length;
        }
        if (out.size() > maxBytes)
            return fail(std::string(what) + " longer than " + std::to_string(maxBytes) + " bytes");
    }
}

bool StageMessageReader::readEscape(std::string& out)
{
    ++m_at; // the backslash
    const char kind = peek();
    if (atEnd())
        return fail("a string without its closing quote");
    ++m_at;
    switch (kind) {
    case '"': out += '"'; return true;
    case '\\': out += '\\'; return true;
    case '/': out += '/'; return true;
    case 'b': out += '\b'; return true;
    case 'f': out += '\f'; return true;
    case 'n': out += '\n'; return true;
    case 'r': out += '\r'; return true;
    case 't': out += '\t'; return true;
    case 'u': break;
    default: --m_at; return fail("an unknown escape in a string");
    }
    char32_t unit = 0;
    if (!readHex4(unit))
        return false;
    if (unit >= 0xDC00 && unit <= 0xDFFF)
        return fail("a lone surrogate in a string");
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        char32_t low = 0;
        if (m_text.substr(m_at, 2) != "\\u")
            return fail("a lone surrogate in a string");
        m_at += 2;
        if (!readHex4(low))
            return false;
        if (low < 0xDC00 || low > 0xDFFF)
            return fail("a lone surrogate in a string");
        unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    // Every text of the program ends at a NUL; one inside a text would cut it short
    // further down the line.
    if (unit == 0)
        return fail("a NUL character in a string");
    appendUtf8(out, unit);
    return true;
}

bool StageMessageReader::readHex4(char32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        const char c = peek();
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return fail("a \\u escape without four hexadecimal digits");
        value = value * 16 + static_cast<char32_t>(digit);
        ++m_at;
    }
    return true;
}

bool StageMessageReader::readArguments(OscMessage& message)
{
    if (peek() != '[')
        return fail("arguments (key \"v\") that are not an array");
    ++m_at;
    skipBlanks();
    if (peek() == ']') {
        ++m_at;
        return true;
    }
    for (;;) {
        if (message.arguments.size() == stage::MaxArguments)
            return fail("more than " + std::to_string(stage::MaxArguments) + " arguments");
        skipBlanks();
        if (!readArgument(message))
            return false;
        skipBlanks();
        if (peek() == ']') {
            ++m_at;
            return true;
        }
        if (!expect(',', "',' or ']'"))
            return false;
    }
}

bool StageMessageReader::readArgument(OscMessage& message)
{
    const char c = peek();
    if (atEnd())
        return fail("expected an argument");
    if (c == '"') {
        std::string text;
        if (!readString(text, stage::MaxStringBytes, "a string"))
            return false;
        message.arguments.emplace_back(std::move(text));
        return true;
    }
    if (c == 't' && readWord("true")) {
        message.arguments.emplace_back(true);
        return true;
    }
    if (c == 'f' && readWord("false")) {
        message.arguments.emplace_back(false);
        return true;
    }
    if (c == '-' || (c >= '0' && c <= '9'))
        return readNumber(message);
    if (c == '{' || c == '[' || m_text.substr(m_at, 4) == "null")
        return fail("an argument that is not a number, a string, true or false");
    return fail("an argument that is not JSON");
}

bool StageMessageReader::readWord(std::string_view word)
{
    if (m_text.substr(m_at, word.size()) != word)
        return false;
    m_at += word.size();
    return true;
}

bool StageMessageReader::readNumber(OscMessage& message)
{
    // The JSON grammar first, so nothing it does not allow (a '+', a leading zero, "inf",
    // "nan", hexadecimal) reaches the conversions.
    const std::size_t start = m_at;
    if (peek() == '-')
        ++m_at;
    const std::size_t integerStart = m_at;
    if (!isDigit(peek()))
        return fail("a number without digits");
    if (peek() == '0')
        ++m_at;
    else
        while (isDigit(peek()))
            ++m_at;
    const std::size_t integerEnd = m_at;
    std::size_t fractionStart = m_at, fractionEnd = m_at;
    bool integral = true;
    if (peek() == '.') {
        integral = false;
        fractionStart = ++m_at;
        if (!isDigit(peek()))
            return fail("a number without digits after its '.'");
        while (isDigit(peek()))
            ++m_at;
        fractionEnd = m_at;
    }
    long exponent = 0;
    if (peek() == 'e' || peek() == 'E') {
        integral = false;
        ++m_at;
        bool negative = false;
        if (peek() == '+' || peek() == '-')
            negative = m_text[m_at++] == '-';
        if (!isDigit(peek()))
            return fail("a number without digits in its exponent");
        while (isDigit(peek())) {
            if (exponent < 100000)
                exponent = exponent * 10 + (m_text[m_at] - '0');
            ++m_at;
        }
        if (negative)
            exponent = -exponent;
    }
    const char* first = m_text.data() + start;
    const char* last = m_text.data() + m_at;
    if (integral) {
        std::int32_t value = 0;
        if (std::from_chars(first, last, value).ec == std::errc()) {
            message.arguments.emplace_back(value);
            return true;
        }
    }
    float value = 0;
    const auto [end, status] = std::from_chars(first, last, value);
    if (status == std::errc() && end == last) {
        message.arguments.emplace_back(value);
        return true;
    }
    // Out of range: too small becomes zero; too large cannot be held and is refused.
    long magnitude = 0;
    std::size_t lead = integerStart;
    while (lead < integerEnd && m_text[lead] == '0')
        ++lead;
    if (lead < integerEnd) {
        magnitude = static_cast<long>(integerEnd - lead) - 1;
    } else {
        lead = fractionStart;
        while (lead < fractionEnd && m_text[lead] == '0')
            ++lead;
        magnitude = -static_cast<long>(lead - fractionStart) - 1;
    }
    if (magnitude + exponent < 0) {
        message.arguments.emplace_back(m_text[start] == '-' ? -0.0f : 0.0f);
        return true;
    }
    m_at = start;
    return fail("a number too large for a 32-bit float");
}

void appendFloat(std::string& out, double value, bool single)
{
    if (!std::isfinite(value)) {
        out += "null";
        return;
    }
    char buffer[64];
    const auto result = single ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value))
                               : std::to_chars(buffer, buffer + sizeof buffer, value);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    out += text;
    // A float keeps a '.' or an exponent, so it reads back as a float, not an integer.
    if (text.find_first_of(".e") == std::string_view::npos)
        out += ".0";
}

void appendArgument(std::string& out, const OscArgument& argument)
{
    std::visit(
        [&](const auto& value) {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::int64_t>)
                out += std::to_string(value);
            else if constexpr (std::is_same_v<T, float>)
                appendFloat(out, value, true);
            else if constexpr (std::is_same_v<T, double>)
                appendFloat(out, value, false);
            else if constexpr (std::is_same_v<T, std::string>)
                json::appendString(out, value);
            else if constexpr (std::is_same_v<T, bool>)
                out += value ? "true" : "false";
            else
                out += "null";
        },
        argument);
}

} // namespace

std::optional<OscMessage> readStageMessage(std::string_view text, std::string& error)
{
    return StageMessageReader(text).read(error);
}

std::string writeStageMessage(const OscMessage& message)
{
    std::string out = "{\"a\":";
    json::appendString(out, message.address);
    out += ",\"v\":[";
    for (std::size_t i = 0; i < message.arguments.size(); ++i) {
        if (i > 0)
            out += ',';
        appendArgument(out, message.arguments[i]);
    }
    out += "]}";
    return out;
}

std::string writeStageMeters(int first, const std::vector<int>& levels)
{
    std::string out = "{\"a\":\"";
    out += stage::MetersAddress;
    out += "\",\"v\":[" + std::to_string(first) + ",[";
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(levels[i]);
    }
    out += "]]}";
    return out;
}

} // namespace deskpanel
