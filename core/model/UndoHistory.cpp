#include "core/model/UndoHistory.h"

#include <algorithm>

namespace deskpanel {

void UndoHistory::shiftIn(const UndoEntry& entry, std::shared_ptr<const LiveState> state)
{
    std::shift_right(m_slots.begin(), m_slots.end(), 1);
    std::shift_right(m_states.begin(), m_states.end(), 1);
    m_slots.front() = entry;
    m_states.front() = std::move(state);
    m_undoable = std::min(m_undoable + 1, MaxUndoable);
}

void UndoHistory::record(const UndoEntry& entry)
{
    m_redo.clear();
    shiftIn(entry, nullptr);
}

void UndoHistory::record(int channel, UndoKind kind, int value)
{
    record(UndoEntry{channel, static_cast<std::int32_t>(kind), value});
}

void UndoHistory::recordLiveState(std::shared_ptr<const LiveState> state)
{
    m_redo.clear();
    shiftIn(UndoEntry{0, static_cast<std::int32_t>(UndoKind::LiveState), 0}, std::move(state));
}

void UndoHistory::recordForRedo(const UndoStep& step)
{
    shiftIn(step.entry, step.state);
}

std::optional<UndoStep> UndoHistory::newest() const
{
    if (m_undoable == 0)
        return std::nullopt;
    return UndoStep{m_slots.front(), m_states.front()};
}

std::optional<UndoEntry> UndoHistory::takeNewest()
{
    if (m_undoable == 0)
        return std::nullopt;
    --m_undoable;
    const UndoEntry newest = m_slots.front();
    // shift_left leaves the last slot as it was: the oldest keeps its value.
    std::shift_left(m_slots.begin(), m_slots.end(), 1);
    m_slots.back() = m_slots[SlotCount - 2];
    std::shift_left(m_states.begin(), m_states.end(), 1);
    m_states.back() = m_states[SlotCount - 2];
    return newest;
}

void UndoHistory::pushRedo(UndoStep step)
{
    if (static_cast<int>(m_redo.size()) >= MaxUndoable)
        m_redo.erase(m_redo.begin());
    m_redo.push_back(std::move(step));
}

std::optional<UndoStep> UndoHistory::newestRedo() const
{
    if (m_redo.empty())
        return std::nullopt;
    return m_redo.back();
}

void UndoHistory::dropNewestRedo()
{
    if (!m_redo.empty())
        m_redo.pop_back();
}

} // namespace deskpanel
