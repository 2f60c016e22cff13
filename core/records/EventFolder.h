#pragma once
#include "core/records/UnitEvent.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace deskpanel {

// Keeps a flood out of the log: an event with the same unit, old state and new state as
// one logged less than FoldWindowMs before is counted instead of written. The count is
// written as one "repeated N times" event once FoldWindowMs have passed without a
// repeat, or when the log closes. Times are the monotonic clock's milliseconds.
class EventFolder {
public:
    static constexpr std::uint32_t FoldWindowMs = 10000;

    // The events to write now for `event`: none (counted), the event itself, or the
    // summary of an expired fold followed by the event.
    std::vector<UnitEvent> offer(const UnitEvent& event, std::uint32_t nowMs);
    // True when a fold may have expired: only then is due() worth its wall-clock text.
    bool anyDue(std::uint32_t nowMs) const;
    // Summaries of the folds whose last repeat is FoldWindowMs old; `timeText` is
    // the wall-clock time they are written at.
    std::vector<UnitEvent> due(std::uint32_t nowMs, const std::string& timeText);
    // Summaries of every fold with repeats (the log is closing).
    std::vector<UnitEvent> closeAll(const std::string& timeText);

private:
    struct Fold {
        std::uint32_t lastMs = 0;
        int repeats = 0;
        UnitEvent sample;
        std::string lastRepeatTime;
    };
    using Key = std::tuple<int, std::string, std::string>;
    static UnitEvent summary(const Fold& fold, const std::string& timeText);

    std::map<Key, Fold> m_folds;
    // Every offer's (time, key), oldest first, so that finding what has expired does not
    // walk all folds: an entry whose fold was offered again since is passed over.
    std::deque<std::pair<std::uint32_t, Key>> m_offered;
};

} // namespace deskpanel
