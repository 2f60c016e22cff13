#include "core/model/UndoHistory.h"

#include <algorithm>

namespace deskpanel {

void UndoHistory::record(const UndoEntry& entry)
{
    std::shift_right(m_slots.begin(), m_slots.end(), 1);
    m_slots.front() = entry;
    m_undoable = std::min(m_undoable + 1, MaxUndoable);
}

void UndoHistory::record(int channel, UndoKind kind, int value)
{
    record(UndoEntry{channel, static_cast<std::int32_t>(kind), value});
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
    return newest;
}

} // namespace deskpanel
