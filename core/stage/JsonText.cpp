#include "core/stage/JsonText.h"

#include "core/model/Text.h"

namespace deskpanel::json {

void appendString(std::string& out, std::string_view text)
{
    static constexpr char Hex[] = "0123456789abcdef";
    out += '"';
    std::size_t at = 0;
    while (at < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[at]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
            ++at;
        } else if (c < 0x20) {
            out += "\\u00";
            out += Hex[c >> 4];
            out += Hex[c & 0xF];
            ++at;
        } else if (const std::size_t length = utf8CharacterLength(text.substr(at)); length > 0) {
            out.append(text.substr(at, length));
            at += length;
        } else {
            appendUtf8(out, U'\uFFFD');
            ++at;
        }
    }
    out += '"';
}

} // namespace deskpanel::json
