#pragma once
#include "core/model/LiveState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace deskpanel {

// What an undo entry puts back. The numbers are the switch kinds of the strips.
enum class UndoKind : std::int32_t {
    Polarity = 3,
    LinkButton = 4,
    Pad = 5,
    Phantom48V = 6,
    Mute = 7,
    GainPosition = 9, // value: the position before the drag
    LiveState = 20, // a recall: the entry holds the live state from before it
};

struct UndoEntry {
    std::int32_t channel = 0;
    std::int32_t kind = 0; // an UndoKind
    std::int32_t value = 0; // the new switch state, or the gain position before a drag

    bool operator==(const UndoEntry&) const = default;
};

// An undo entry with the live state a LiveState entry holds (empty for the others).
struct UndoStep {
    UndoEntry entry;
    std::shared_ptr<const LiveState> state;
};

// Ten slots, newest first, and a counter of undoable entries that never passes 8.
// Lives for the whole run: New Project, Open and scene recall leave it alone.
//
// Beside it, the redo list: what each Undo replaced, newest last. Any new entry
// empties it, except the one a Redo records.
class UndoHistory {
public:
    static constexpr int SlotCount = 10;
    static constexpr int MaxUndoable = 8;
    using Slots = std::array<UndoEntry, SlotCount>;

    // Shifts every slot one place towards the old end (the oldest falls out) and writes
    // the entry into the newest slot. The redo list is emptied.
    void record(const UndoEntry& entry);
    void record(int channel, UndoKind kind, int value);
    // A recall: one entry holding the state from before it.
    void recordLiveState(std::shared_ptr<const LiveState> state);
    // What a Redo records: the redo list stays.
    void recordForRedo(const UndoStep& step);

    // The newest entry and its state, left in place (the 48 V guard may still say no).
    std::optional<UndoStep> newest() const;

    // The newest entry, removed from the history; nothing when the counter is 0. The
    // older entries move one place towards the newest end and the oldest slot keeps
    // its value.
    std::optional<UndoEntry> takeNewest();

    int undoableCount() const { return m_undoable; }
    const Slots& entries() const { return m_slots; }

    // Redo: entries that restore what an Undo replaced. As many are kept as Undo can
    // take back.
    void pushRedo(UndoStep step);
    std::optional<UndoStep> newestRedo() const;
    void dropNewestRedo();
    void clearRedo() { m_redo.clear(); }
    int redoCount() const { return static_cast<int>(m_redo.size()); }

private:
    void shiftIn(const UndoEntry& entry, std::shared_ptr<const LiveState> state);

    Slots m_slots{};
    // The state each slot holds, moving with the slots.
    std::array<std::shared_ptr<const LiveState>, SlotCount> m_states{};
    int m_undoable = 0;
    std::vector<UndoStep> m_redo;
};

} // namespace deskpanel
