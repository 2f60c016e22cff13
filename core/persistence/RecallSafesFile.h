#pragma once
#include "core/model/RecallSafes.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace deskpanel {

// The recall safes live beside the project file, never in it: "<project>.vpf.safes", a
// text file with the section [Recall Safes] and one key per channel that has any flag,
// "Channel<n>=gain,48v,pad,polarity,mute" (the flags it has, in that order; n 1..384).
// Lines of other sections, blank lines and comments (";" or "#") are passed over.
namespace RecallSafesFile {

constexpr const char* Suffix = ".safes";
constexpr const char* Section = "Recall Safes";
// Larger files are not read at all: no project has more than 384 short lines.
constexpr std::size_t MaxBytes = 1 << 20;

struct Decoded {
    RecallSafes safes;
    // 1-based numbers of the lines that were ignored: a key that is not Channel1..384,
    // an unknown or empty flag, a channel given twice, a line that is not "key=value".
    std::vector<int> damagedLines;
};

std::string pathFor(const std::string& projectPath);
std::string encode(const RecallSafes& safes);
Decoded decode(std::string_view text);

struct ReadResult {
    Decoded decoded;
    bool tooLarge = false; // the file was not read: nothing of it is used
    // Non-empty: the file is there but could not be read whole (why: permission, an I/O
    // error, a read cut short); nothing of it is used.
    std::string failure;
};
// A missing file reads as no safes and no damage.
ReadResult read(const std::string& sidecarPath);
// The one message for a file that could not be read; empty when it was.
std::string failureMessage(const std::string& sidecarPath, const ReadResult& result);
// The one message for a file read with damage; empty when there is none.
std::string damageMessage(const std::string& sidecarPath, const ReadResult& result);

// Writes the file atomically, or removes it when no channel is safe. False when the
// file could not be written or removed; the previous file is then left as it was.
bool write(const std::string& sidecarPath, const RecallSafes& safes);

} // namespace RecallSafesFile

} // namespace deskpanel
