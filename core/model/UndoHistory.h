#pragma once
#include <array>
#include <cstdint>
#include <optional>

namespace deskpanel {

// What an undo entry puts back. The numbers are the switch kinds of the strips.
enum class UndoKind : std::int32_t {
    Polarity = 3,
    LinkButton = 4,
    Pad = 5,
    Phantom48V = 6,
    Mute = 7,
    GainPosition = 9, // value: the position before the drag
};

struct UndoEntry {
    std::int32_t channel = 0;
    std::int32_t kind = 0; // an UndoKind
    std::int32_t value = 0; // the new switch state, or the gain position before a drag

    bool operator==(const UndoEntry&) const = default;
};

// Ten slots, newest first, and a counter of undoable entries that never passes 8.
// Lives for the whole run: New Project, Open and scene recall leave it alone.
class UndoHistory {
public:
    static constexpr int SlotCount = 10;
    static constexpr int MaxUndoable = 8;
    using Slots = std::array<UndoEntry, SlotCount>;

    // Shifts every slot one place towards the old end (the oldest falls out) and writes
    // the entry into the newest slot.
    void record(const UndoEntry& entry);
    void record(int channel, UndoKind kind, int value);

    // The newest entry, removed from the history; nothing when the counter is 0. The
    // older entries move one place towards the newest end and the oldest slot keeps
    // its value.
    std::optional<UndoEntry> takeNewest();

    int undoableCount() const { return m_undoable; }
    const Slots& entries() const { return m_slots; }

private:
    Slots m_slots{};
    int m_undoable = 0;
};

} // namespace deskpanel
