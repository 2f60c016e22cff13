#include "core/records/ClipboardLine.h"

#include <array>
#include <charconv>

namespace deskpanel::ClipboardLine {

namespace {

using Field = std::optional<int> PartialSettings::*;

struct Key {
    std::string_view name;
    Field field;
    int low, high;
};
constexpr std::array<Key, 5> Keys{{
    {"gain", &PartialSettings::gainDb, 8, 80},
    {"pad", &PartialSettings::pad, 0, 1},
    {"pol", &PartialSettings::polarity, 0, 1},
    {"phantom", &PartialSettings::phantom48V, 0, 1},
    {"mute", &PartialSettings::mute, 0, 1},
}};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (isBlank(text.front()) || text.front() == '\r' || text.front() == '\n'))
        text.remove_prefix(1);
    while (!text.empty() && (isBlank(text.back()) || text.back() == '\r' || text.back() == '\n'))
        text.remove_suffix(1);
    return text;
}

// A plain decimal number in low..high, without sign or leading zeros beyond one digit.
std::optional<int> number(std::string_view digits, int low, int high)
{
    if (digits.empty() || digits.size() > 2 || (digits.size() > 1 && digits.front() == '0'))
        return std::nullopt;
    for (char c : digits)
        if (c < '0' || c > '9')
            return std::nullopt;
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc{} || end != digits.data() + digits.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::string write(const PartialSettings& settings)
{
    std::string line = Prefix;
    for (const Key& key : Keys)
        if (const auto& value = settings.*key.field)
            line += " " + std::string(key.name) + "=" + std::to_string(*value);
    return line;
}

std::optional<PartialSettings> read(std::string_view text)
{
    if (text.size() > MaxChars)
        return std::nullopt;
    text = trimmed(text);
    const std::string_view prefix = Prefix;
    if (text.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    text.remove_prefix(prefix.size());
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return std::nullopt; // one line only

    PartialSettings settings;
    while (true) {
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        if (text.empty())
            break;
        std::size_t end = 0;
        while (end < text.size() && !isBlank(text[end]))
            ++end;
        const std::string_view pair = text.substr(0, end);
        text.remove_prefix(end);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view name = pair.substr(0, equals);
        const Key* key = nullptr;
        for (const Key& k : Keys)
            if (k.name == name)
                key = &k;
        if (!key || settings.*key->field)
            return std::nullopt; // unknown, or given twice
        const auto value = number(pair.substr(equals + 1), key->low, key->high);
        if (!value)
            return std::nullopt;
        settings.*key->field = *value;
    }
    if (settings.empty())
        return std::nullopt;
    return settings;
}

} // namespace deskpanel::ClipboardLine
