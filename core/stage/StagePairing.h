#pragma once
#include "core/host/Clock.h"
#include "core/stage/StageSettings.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace deskpanel {

// The pairing of a phone or tablet: the operator opens a six-digit code for a chosen
// permission, the page sends it back with a device name and gets a new token. A code
// serves one device, lasts ValidMs, and is voided by MaxWrongCodes wrong tries, so it
// cannot be guessed in its lifetime (five tries in a million).
class StagePairing {
public:
    static constexpr std::uint32_t ValidMs = 120000;
    static constexpr int MaxWrongCodes = 5;
    static constexpr std::size_t TokenBytes = 16;

    enum class PairResult {
        Paired,
        WrongCode,
        NoCode, // none open, expired, voided or used
        BadName
    };

    // `randomBytes` fills its buffer; the program passes the system's cryptographic source.
    using RandomBytes = std::function<void(std::uint8_t*, std::size_t)>;

    StagePairing(const Clock& clock, RandomBytes randomBytes);

    // A new code (six digits, leading zeros kept) for `permission`; any open one is gone.
    std::string open(StagePermission permission);
    void close();
    // False once the code has expired, been voided or been used.
    bool isOpen() const;
    // The open code, or empty.
    std::string code() const;
    // Whole seconds until the open code expires, rounded up; 0 when none is open.
    int secondsLeft() const;
    // The permission a device paired with the open code gets.
    StagePermission permission() const { return m_permission; }

    // On Paired: `token` is the device's new token (32 lower-case hexadecimal digits),
    // `permission` the one chosen at open(), and the code is closed. A bad name is
    // refused before the code is looked at, so it costs no try.
    PairResult pair(const std::string& code, const std::string& name, std::string& token, StagePermission& permission);

    // What the profile keeps of a token: the lower-case hexadecimal SHA-256 of its text.
    static std::string tokenHash(const std::string& token);

private:
    std::uint32_t randomNumber();

    const Clock& m_clock;
    RandomBytes m_randomBytes;
    std::string m_code;
    std::uint32_t m_openedMs = 0;
    int m_wrongCodes = 0;
    StagePermission m_permission = StagePermission::View;
};

} // namespace deskpanel
