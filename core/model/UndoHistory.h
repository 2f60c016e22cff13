#pragma once
#include "core/model/LiveState.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
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
    GainReference = 10, // value: the link reference (gainAux) before a paste
    LiveState = 20, // a recall: the entry holds the live state from before it
    ChannelTexts = 21, // an import of names: the entry holds the old and new texts
    Steps = 22, // several entries taken back together (a remote's group mute, pattern or datagram)
};

struct UndoEntry {
    std::int32_t channel = 0;
    std::int32_t kind = 0; // an UndoKind
    std::int32_t value = 0; // the new switch state, or the gain position before a drag

    bool operator==(const UndoEntry&) const = default;
};

// One channel's name and notes before and after an import of names.
struct ChannelTextChange {
    int channel = 0;
    std::string oldName;
    std::string oldNotes;
    std::string newName;
    std::string newNotes;
};
using ChannelTextChanges = std::vector<ChannelTextChange>;

// An undo entry with what it restores beyond the entry itself: the live state of a
// LiveState entry, the texts of a ChannelTexts entry (empty for the others). The serial
// tells one entry from another that looks the same: an operation that asked the
// operator first acts only if the entry it asked about is still the newest.
struct UndoStep {
    UndoEntry entry;
    std::shared_ptr<const LiveState> state{};
    std::shared_ptr<const ChannelTextChanges> texts{};
    std::uint64_t serial = 0;
    std::shared_ptr<const std::vector<UndoEntry>> steps{}; // of a Steps entry, oldest first
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
    // An import of names: one entry holding the texts it changed.
    void recordChannelTexts(std::shared_ptr<const ChannelTextChanges> texts);
    // What a Redo records: the redo list stays.
    void recordForRedo(const UndoStep& step);

    // Entries recorded from beginGroup() to endGroup() become one Steps entry (a single
    // one stays as it is). `continuing`: the serial endGroup() gave earlier; while that
    // entry is still the newest, the group takes it up again. A group begun inside one is
    // part of it.
    void beginGroup(std::uint64_t continuing = 0);
    // The serial of the entry made, 0 when the group recorded nothing.
    std::uint64_t endGroup();
    bool isGrouping() const { return m_grouping; }

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
    void shiftIn(UndoStep step);

    Slots m_slots{};
    // What each slot holds beyond its entry, moving with the slots.
    std::array<UndoStep, SlotCount> m_steps{};
    int m_undoable = 0;
    std::uint64_t m_lastSerial = 0;
    bool m_grouping = false;
    int m_nestedGroups = 0;
    std::vector<UndoEntry> m_group;
    std::vector<UndoStep> m_redo;
};

} // namespace deskpanel
