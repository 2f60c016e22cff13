#include "core/persistence/ReplaceRetry.h"

#include <gtest/gtest.h>

#include <vector>

namespace deskpanel {
namespace {

using namespace std::chrono_literals;

// A clock that moves only when the policy pauses, and a file held for a while.
struct HeldFile {
    HeldFile(std::chrono::milliseconds heldFor, unsigned long errorWhileHeld)
        : heldFor(heldFor), errorWhileHeld(errorWhileHeld)
    {}
    std::chrono::steady_clock::time_point now{};
    std::chrono::milliseconds heldFor;
    unsigned long errorWhileHeld;
    std::vector<std::chrono::milliseconds> attemptsAt;

    unsigned long tryReplace()
    {
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
        attemptsAt.push_back(elapsed);
        return elapsed < heldFor ? errorWhileHeld : 0;
    }
    ReplaceOutcome run()
    {
        return replaceWithRetry([this] { return tryReplace(); },
                                {[this] { return now; }, [this](std::chrono::milliseconds p) { now += p; }});
    }
};

TEST(ReplaceRetry, AHoldThatPassesWithinASecondEndsInTheReplacedFile)
{
    for (const unsigned long error :
         {win32error::SharingViolation, win32error::AccessDenied, win32error::LockViolation}) {
        HeldFile file(300ms, error);
        const ReplaceOutcome outcome = file.run();
        EXPECT_EQ(outcome.error, 0u) << error;
        EXPECT_FALSE(outcome.copyKept) << error;
        EXPECT_EQ(outcome.attempts, 7) << error; // at 0, 50, ... 300 ms
    }
}

TEST(ReplaceRetry, AHoldLongerThanASecondGivesUpAndKeepsTheCopy)
{
    HeldFile file(60s, win32error::SharingViolation);
    const ReplaceOutcome outcome = file.run();
    EXPECT_EQ(outcome.error, win32error::SharingViolation);
    EXPECT_TRUE(outcome.copyKept);
    EXPECT_EQ(file.attemptsAt.front(), 0ms);
    EXPECT_EQ(file.attemptsAt.back(), 1000ms);
    EXPECT_EQ(outcome.attempts, 21);
}

TEST(ReplaceRetry, OtherErrorsAreNotRetriedAndStillKeepTheCopy)
{
    // path not found, disk full, not same device, unable to move replacement
    for (const unsigned long error : {3ul, 112ul, 17ul, 1176ul}) {
        HeldFile file(60s, error);
        const ReplaceOutcome outcome = file.run();
        EXPECT_EQ(outcome.attempts, 1) << error;
        EXPECT_EQ(outcome.error, error);
        EXPECT_TRUE(outcome.copyKept) << error;
    }
}

} // namespace
} // namespace deskpanel
