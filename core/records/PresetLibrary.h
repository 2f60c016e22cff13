#pragma once
#include "core/model/PartialSettings.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace deskpanel {

struct ChannelPreset {
    std::string name;
    PartialSettings settings;
    bool operator==(const ChannelPreset&) const = default;
};

// The operator's library of named channel presets, shared by every project: the file
// "Channel Presets.ini" in the user's data folder, one section per preset, the keys
// Gain (dB, 8..80), Pad, Pol, 48V and Mute (0 or 1), each optional: a key left out leaves
// that setting alone. Names compare without regard to ASCII case, as the sections of any
// profile file do, and the first of two sections with one name wins. Blank lines and
// comments (";" or "#") are passed over.
class PresetLibrary {
public:
    static constexpr const char* FileName = "Channel Presets.ini";
    // Larger files are not read at all.
    static constexpr std::size_t MaxBytes = 1 << 20;
    static constexpr std::size_t MaxPresets = 1000;

    const std::vector<ChannelPreset>& presets() const { return m_presets; }
    std::size_t size() const { return m_presets.size(); }
    // The preset's position, when there is one of that name.
    std::optional<std::size_t> find(const std::string& name) const;

    // Why a text cannot name a preset (empty when it can): empty, longer than 99
    // characters, a character a project cannot hold, a bracket, or taken by another
    // preset than `except`.
    std::string nameProblem(const std::string& name, std::optional<std::size_t> except = std::nullopt) const;
    // A new preset at the end, or in place of the one of the same name. False when the
    // name cannot be used or the library is full.
    bool put(const ChannelPreset& preset);
    // Empty when renamed, else why not.
    std::string rename(std::size_t index, const std::string& name);
    void remove(std::size_t index);

    // What a file holds, with the lines that were passed over as damaged (1-based, in
    // ascending order): a section name that cannot name a preset or is taken, a key that
    // is not one of the five or comes twice, a value out of range, a key before any
    // section, a line that is neither a section nor "key=value".
    struct Decoded;
    static Decoded decode(std::string_view text);
    std::string encode() const;

    // The six presets the file starts with, named by their use.
    static PresetLibrary examples();

    struct ReadResult;
    // A missing file reads as an empty library and no damage.
    static ReadResult read(const std::string& path);
    // The one message for a file read with damage (its path and lines); empty when none.
    static std::string damageMessage(const std::string& path, const ReadResult& result);
    // Replaces the file atomically, creating its folder; false (the file as it was) on failure.
    bool write(const std::string& path) const;
    // Writes the examples when no file is there yet; a file that is there is never touched.
    static bool writeExamplesIfMissing(const std::string& path);

private:
    std::vector<ChannelPreset> m_presets;
};

struct PresetLibrary::Decoded {
    PresetLibrary library;
    std::vector<int> damagedLines;
};

struct PresetLibrary::ReadResult {
    Decoded decoded;
    bool tooLarge = false; // not read: nothing of it is used
    bool unreadable = false;
};

} // namespace deskpanel
