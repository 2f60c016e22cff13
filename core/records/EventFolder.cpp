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
            m_offered.emplace_back(nowMs, key);
            return out;
        }
        if (fold.repeats > 0)
            out.push_back(summary(fold, event.time));
    }
    m_folds[key] = Fold{nowMs, 0, event, {}};
    m_offered.emplace_back(nowMs, key);
    out.push_back(event);
    return out;
}

bool EventFolder::anyDue(std::uint32_t nowMs) const
{
    return !m_offered.empty() && nowMs - m_offered.front().first >= FoldWindowMs;
}

std::vector<UnitEvent> EventFolder::due(std::uint32_t nowMs, const std::string& timeText)
{
    std::vector<UnitEvent> out;
    while (anyDue(nowMs)) {
        const auto [offeredMs, key] = std::move(m_offered.front());
        m_offered.pop_front();
        const auto found = m_folds.find(key);
        if (found == m_folds.end() || found->second.lastMs != offeredMs)
            continue; // offered again since, or already summarised
        if (found->second.repeats > 0)
            out.push_back(summary(found->second, timeText));
        m_folds.erase(found);
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
    m_offered.clear();
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
