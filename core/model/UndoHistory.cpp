#include "core/model/UndoHistory.h"

#include <algorithm>
#include <utility>

namespace deskpanel {

void UndoHistory::shiftIn(UndoStep step)
{
    std::shift_right(m_slots.begin(), m_slots.end(), 1);
    std::shift_right(m_steps.begin(), m_steps.end(), 1);
    step.serial = ++m_lastSerial;
    m_slots.front() = step.entry;
    m_steps.front() = std::move(step);
    m_undoable = std::min(m_undoable + 1, MaxUndoable);
}

void UndoHistory::record(const UndoEntry& entry)
{
    m_redo.clear();
    if (m_grouping)
        m_group.push_back(entry);
    else
        shiftIn(UndoStep{entry, nullptr, nullptr});
}

void UndoHistory::beginGroup(std::uint64_t continuing)
{
    // A group inside a group (a paste inside a remote's datagram) is part of the outer one.
    if (m_grouping) {
        ++m_nestedGroups;
        return;
    }
    m_grouping = true;
    if (continuing == 0 || m_undoable == 0 || m_steps.front().serial != continuing)
        return;
    const UndoStep newest = m_steps.front();
    takeNewest();
    if (newest.steps)
        m_group = *newest.steps;
    else
        m_group = {newest.entry};
}

std::uint64_t UndoHistory::endGroup()
{
    if (m_nestedGroups > 0) {
        --m_nestedGroups;
        return 0;
    }
    if (!m_grouping)
        return 0;
    m_grouping = false;
    std::vector<UndoEntry> group = std::exchange(m_group, {});
    if (group.empty())
        return 0;
    if (group.size() == 1) {
        shiftIn(UndoStep{group.front(), nullptr, nullptr});
    } else {
        UndoStep step{UndoEntry{0, static_cast<std::int32_t>(UndoKind::Steps), static_cast<std::int32_t>(group.size())},
                      nullptr, nullptr};
        step.steps = std::make_shared<const std::vector<UndoEntry>>(std::move(group));
        shiftIn(std::move(step));
    }
    return m_lastSerial;
}

void UndoHistory::record(int channel, UndoKind kind, int value)
{
    record(UndoEntry{channel, static_cast<std::int32_t>(kind), value});
}

void UndoHistory::recordLiveState(std::shared_ptr<const LiveState> state)
{
    // A recall is a step of its own: what a group gathered before it goes first.
    if (m_grouping) {
        const int nested = std::exchange(m_nestedGroups, 0);
        endGroup();
        m_grouping = true;
        m_nestedGroups = nested;
    }
    m_redo.clear();
    shiftIn(UndoStep{UndoEntry{0, static_cast<std::int32_t>(UndoKind::LiveState), 0}, std::move(state), nullptr});
}

void UndoHistory::recordChannelTexts(std::shared_ptr<const ChannelTextChanges> texts)
{
    m_redo.clear();
    shiftIn(UndoStep{UndoEntry{0, static_cast<std::int32_t>(UndoKind::ChannelTexts), 0}, nullptr, std::move(texts)});
}

void UndoHistory::recordForRedo(const UndoStep& step)
{
    shiftIn(step);
}

std::optional<UndoStep> UndoHistory::newest() const
{
    if (m_undoable == 0)
        return std::nullopt;
    return m_steps.front();
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
    std::shift_left(m_steps.begin(), m_steps.end(), 1);
    m_steps.back() = m_steps[SlotCount - 2];
    return newest;
}

void UndoHistory::pushRedo(UndoStep step)
{
    if (static_cast<int>(m_redo.size()) >= MaxUndoable)
        m_redo.erase(m_redo.begin());
    step.serial = ++m_lastSerial;
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
