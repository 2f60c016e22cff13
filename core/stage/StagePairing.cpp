#include "core/stage/StagePairing.h"

#include "core/stage/Sha256.h"

#include <limits>
#include <utility>

namespace deskpanel {
namespace {

constexpr std::uint32_t CodeValues = 1000000;

// Compares every character whatever the first difference, so the time taken tells
// nothing about how much of a guess was right.
bool sameInConstantTime(const std::string& given, const std::string& expected)
{
    unsigned difference = given.size() == expected.size() ? 0u : 1u;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const char g = i < given.size() ? given[i] : '\0';
        difference |= static_cast<unsigned char>(g ^ expected[i]);
    }
    return difference == 0;
}

} // namespace

StagePairing::StagePairing(const Clock& clock, RandomBytes randomBytes)
    : m_clock(clock), m_randomBytes(std::move(randomBytes))
{}

std::uint32_t StagePairing::randomNumber()
{
    std::uint8_t bytes[4] = {};
    m_randomBytes(bytes, sizeof bytes);
    return std::uint32_t{bytes[0]} << 24 | std::uint32_t{bytes[1]} << 16 | std::uint32_t{bytes[2]} << 8 |
           std::uint32_t{bytes[3]};
}

std::string StagePairing::open(StagePermission permission)
{
    // Numbers at or above the last whole multiple of a million would favour the low
    // codes; they are drawn again (about 1 in 4400), a bounded number of times.
    constexpr std::uint32_t Largest = std::numeric_limits<std::uint32_t>::max();
    constexpr std::uint32_t Fair = Largest - Largest % CodeValues;
    std::uint32_t number = randomNumber();
    for (int draw = 0; draw < 16 && number >= Fair; ++draw)
        number = randomNumber();
    std::string code = std::to_string(number % CodeValues);
    m_code = std::string(6 - code.size(), '0') + code;
    m_openedMs = m_clock.nowMs();
    m_wrongCodes = 0;
    m_permission = permission;
    return m_code;
}

void StagePairing::close()
{
    m_code.clear();
    m_wrongCodes = 0;
}

bool StagePairing::isOpen() const
{
    return !m_code.empty() && m_clock.nowMs() - m_openedMs < ValidMs;
}

std::string StagePairing::code() const
{
    return isOpen() ? m_code : std::string();
}

int StagePairing::secondsLeft() const
{
    if (!isOpen())
        return 0;
    const std::uint32_t leftMs = ValidMs - (m_clock.nowMs() - m_openedMs);
    return static_cast<int>((leftMs + 999) / 1000);
}

StagePairing::PairResult StagePairing::pair(const std::string& code, const std::string& name, std::string& token,
                                            StagePermission& permission)
{
    if (!isOpen()) {
        close();
        return PairResult::NoCode;
    }
    std::string why;
    if (!validDeviceName(name, why))
        return PairResult::BadName;
    if (!sameInConstantTime(code, m_code)) {
        if (++m_wrongCodes >= MaxWrongCodes)
            close();
        return PairResult::WrongCode;
    }
    static constexpr char Hex[] = "0123456789abcdef";
    std::uint8_t bytes[TokenBytes] = {};
    m_randomBytes(bytes, sizeof bytes);
    token.clear();
    for (const std::uint8_t byte : bytes) {
        token += Hex[byte >> 4];
        token += Hex[byte & 0xF];
    }
    permission = m_permission;
    close();
    return PairResult::Paired;
}

std::string StagePairing::tokenHash(const std::string& token)
{
    return Sha256::hex(token);
}

} // namespace deskpanel
