#include "core/persistence/WindowPosition.h"

#include "core/model/Text.h"
#include "core/persistence/IniFile.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace deskpanel {
namespace {

constexpr const char* Section = "Settings";
constexpr const char* Key = "WindowPos";

// Reads like scanf's "%d"/"%u": optional blanks, a sign, digits. Unlike scanf, a
// number out of range fails instead of being undefined, and "%u" takes no sign.
class NumberScanner {
public:
    explicit NumberScanner(const std::string& text) : m_text(text) {}

    bool signedNumber(int& out) { return number(out, true); }
    bool unsignedNumber(std::uint32_t& out)
    {
        long long value = 0;
        if (!scan(value, false))
            return false;
        if (value < 0 || value > static_cast<long long>(UINT32_MAX))
            return false;
        out = static_cast<std::uint32_t>(value);
        return true;
    }
    bool literal(char c)
    {
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }

private:
    bool number(int& out, bool allowSign)
    {
        long long value = 0;
        if (!scan(value, allowSign) || value < INT_MIN || value > INT_MAX)
            return false;
        out = static_cast<int>(value);
        return true;
    }
    bool scan(long long& value, bool allowSign)
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
        std::size_t p = m_pos;
        bool negative = false;
        if (allowSign && p < m_text.size() && (m_text[p] == '-' || m_text[p] == '+'))
            negative = m_text[p++] == '-';
        const std::size_t digits = p;
        long long v = 0;
        while (p < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[p]))) {
            if (v > (LLONG_MAX - 9) / 10)
                return false;
            v = v * 10 + (m_text[p] - '0');
            ++p;
        }
        if (p == digits)
            return false;
        m_pos = p;
        value = negative ? -v : v;
        return true;
    }

    const std::string& m_text;
    std::size_t m_pos = 0;
};

} // namespace

std::string WindowPosition::text() const
{
    return format("%u,%u,%d,%d,%d,%d,%d,%d,%d,%d %d %d", flags, showState, minX, minY, maxX, maxY, left, top, right,
                  bottom, overviewShown, maximized);
}

std::optional<WindowPosition> WindowPosition::parse(const std::string& text)
{
    WindowPosition p;
    NumberScanner in(text);
    int* const commaSeparated[] = {&p.minX, &p.minY, &p.maxX, &p.maxY, &p.left, &p.top, &p.right, &p.bottom};
    if (!in.unsignedNumber(p.flags) || !in.literal(',') || !in.unsignedNumber(p.showState))
        return std::nullopt;
    for (int* field : commaSeparated) {
        if (!in.literal(',') || !in.signedNumber(*field))
            return std::nullopt;
    }
    // The blanks before the last two numbers match any amount of white space.
    if (!in.signedNumber(p.overviewShown) || !in.signedNumber(p.maximized))
        return std::nullopt;
    return p;
}

std::optional<WindowPosition> WindowPosition::read(const std::string& profile)
{
    const auto value = IniFile::load(profile).value(Section, Key);
    if (!value)
        return std::nullopt;
    return parse(*value);
}

void WindowPosition::write(const std::string& profile, const WindowPosition& position)
{
    writeProfileString(profile, Section, Key, position.text()); // failures are ignored
}

} // namespace deskpanel
