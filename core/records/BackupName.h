#pragma once
#include "core/host/WallClock.h"

#include <optional>
#include <string>
#include <string_view>

namespace deskpanel {

// The name a backup carries after the project's name: the moment it was taken, in the
// local time of then with that time's offset from UTC, and a number that tells apart
// backups taken within one second: "2026-12-07 224107+0100 #001". No ":" in it, so
// the name is a file name on Windows too. Earlier versions named backups
// "2026-12-07 224107" (local time, no offset, no number); such names are still read.
struct BackupName {
    WallTime taken;
    bool offsetKnown = true; // false for an earlier version's name
    int sequence = 0; // 1..999; 0 for an earlier version's name

    // "2026-12-07 224107+0100 #001"
    std::string text() const;
    // The local calendar day it was taken, "2026-12-07".
    std::string day() const;
    // A name as text() writes it or as earlier versions did. An earlier version's local
    // time is read with `assumedOffsetMinutes` (the offset in force now). Nothing for any
    // other text.
    static std::optional<BackupName> parse(std::string_view text, int assumedOffsetMinutes);

    // Later first: by the moment taken, then by number.
    bool newerThan(const BackupName& other) const;
};

} // namespace deskpanel
