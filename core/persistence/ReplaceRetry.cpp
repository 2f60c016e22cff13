#include "core/persistence/ReplaceRetry.h"

#include <thread>

#ifdef _WIN32
#include <windows.h>
static_assert(deskpanel::win32error::AccessDenied == ERROR_ACCESS_DENIED);
static_assert(deskpanel::win32error::SharingViolation == ERROR_SHARING_VIOLATION);
static_assert(deskpanel::win32error::LockViolation == ERROR_LOCK_VIOLATION);
#endif

namespace deskpanel {

bool isPassingHold(unsigned long error)
{
    return error == win32error::AccessDenied || error == win32error::SharingViolation ||
           error == win32error::LockViolation;
}

ReplaceRetryClock realReplaceRetryClock()
{
    return {[] { return std::chrono::steady_clock::now(); },
            [](std::chrono::milliseconds pause) { std::this_thread::sleep_for(pause); }};
}

ReplaceOutcome replaceWithRetry(const std::function<unsigned long()>& tryReplace, const ReplaceRetryClock& clock,
                                std::chrono::milliseconds budget, std::chrono::milliseconds step)
{
    ReplaceOutcome outcome;
    const auto deadline = clock.now() + budget;
    for (;;) {
        ++outcome.attempts;
        outcome.error = tryReplace();
        if (outcome.error == 0)
            return outcome;
        if (!isPassingHold(outcome.error) || clock.now() >= deadline)
            break;
        clock.pause(step);
    }
    outcome.copyKept = true;
    return outcome;
}

} // namespace deskpanel
