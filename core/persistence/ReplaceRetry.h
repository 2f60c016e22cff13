#pragma once
#include <chrono>
#include <functional>

namespace deskpanel {

// Windows error codes a just-closed file gets while a virus scanner, an indexer or a sync
// client still holds it. Spelled out so the policy below builds and is tested anywhere.
namespace win32error {
constexpr unsigned long AccessDenied = 5;
constexpr unsigned long SharingViolation = 32;
constexpr unsigned long LockViolation = 33;
} // namespace win32error

// True for the errors that pass once the other program lets go of the file.
bool isPassingHold(unsigned long error);

struct ReplaceRetryClock {
    std::function<std::chrono::steady_clock::time_point()> now;
    std::function<void(std::chrono::milliseconds)> pause;
};

// The steady clock and a real sleep.
ReplaceRetryClock realReplaceRetryClock();

struct ReplaceOutcome {
    unsigned long error = 0; // of the last attempt; 0 when the file was replaced
    int attempts = 0;
    // Set whenever the file was not replaced: the written copy is the only complete one
    // (the old file may already be gone), so it stays where it is and is reported.
    bool copyKept = false;
};

// Calls `tryReplace` (0 or the error of one attempt) until it succeeds, fails with an error
// that does not pass, or `budget` has gone by, pausing `step` between attempts.
ReplaceOutcome replaceWithRetry(const std::function<unsigned long()>& tryReplace, const ReplaceRetryClock& clock,
                                std::chrono::milliseconds budget = std::chrono::milliseconds(1000),
                                std::chrono::milliseconds step = std::chrono::milliseconds(50));

} // namespace deskpanel
