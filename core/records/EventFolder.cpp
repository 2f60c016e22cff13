#include "core/records/EventFolder.h"

#include "core/model/Text.h"

namespace deskpanel {

std::vector<UnitEvent> EventFolder::offer(const UnitEvent& event, std::uint32_t nowMs)
{
    std::vector<UnitEvent> out;
    const Key key{event.unit, event.oldState, event.newState};
    auto found = m_folds.find(key);
    if (found != m_folds.end()) {
        Fold& fold = found->second;
        if (nowMs - fold.lastMs < FoldWindowMs) {
            ++fold.repeats;
            fold.lastMs = nowMs;
            fold.lastRepeatTime = event.time;
            fold.sample.mac = event.mac;
            fold.sample.ip = event.ip;
            return out;
        }
        if (fold.repeats > 0)
            out.push_back(summary(fold, event.time));
    }
    m_folds[key] = Fold{nowMs, 0, event, {}};
    out.push_back(event);
    return out;
}

std::vector<UnitEvent> EventFolder::due(std::uint32_t nowMs, const std::string& timeText)
{
    std::vector<UnitEvent> out;
    for (auto it = m_folds.begin(); it != m_folds.end();) {
        if (nowMs - it->second.lastMs < FoldWindowMs) {
            ++it;
            continue;
        }
        if (it->second.repeats > 0)
            out.push_back(summary(it->second, timeText));
        it = m_folds.erase(it);
    }
    return out;
}

std::vector<UnitEvent> EventFolder::closeAll(const std::string& timeText)
{
    std::vector<UnitEvent> out;
    for (const auto& [key, fold] : m_folds)
        if (fold.repeats > 0)
            out.push_back(summary(fold, timeText));
    m_folds.clear();
    return out;
}

UnitEvent EventFolder::summary(const Fold& fold, const std::string& timeText)
{
    UnitEvent event = fold.sample;
    event.time = timeText;
    event.text = format("repeated %d times, last at %s", fold.repeats, fold.lastRepeatTime.c_str());
    return event;
}

} // namespace deskpanel
