#include "core/records/PresetLibrary.h"

#include "core/model/Text.h"
#include "core/persistence/AtomicFileWriter.h"
#include "core/persistence/IniFile.h"
#include "core/persistence/NativePath.h"
#include "core/persistence/PathText.h"
#include "core/records/ChannelNameImport.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>

namespace deskpanel {

namespace {

struct Key {
    const char* name;
    std::optional<int> PartialSettings::*field;
    int low, high;
};
constexpr std::array<Key, 5> Keys{{
    {"Gain", &PartialSettings::gainDb, 8, 80},
    {"Pad", &PartialSettings::pad, 0, 1},
    {"Pol", &PartialSettings::polarity, 0, 1},
    {"48V", &PartialSettings::phantom48V, 0, 1},
    {"Mute", &PartialSettings::mute, 0, 1},
}};

std::string_view trimmedView(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<int> number(std::string_view digits, int low, int high)
{
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::size_t> PresetLibrary::find(const std::string& name) const
{
    for (std::size_t i = 0; i < m_presets.size(); ++i)
        if (equalsIgnoringCase(m_presets[i].name, name))
            return i;
    return std::nullopt;
}

std::string PresetLibrary::nameProblem(const std::string& name, std::optional<std::size_t> except) const
{
    if (trimmed(name).empty())
        return "The preset needs a name.";
    if (trimmed(name) != name)
        return "A preset name cannot start or end with a blank.";
    if (name.find_first_of("[]") != std::string::npos)
        return "A preset name cannot hold \"[\" or \"]\".";
    const std::string refusal = ChannelNameImport::refusalFor(name, "The name", false);
    if (!refusal.empty())
        return refusal + ".";
    const auto taken = find(name);
    if (taken && taken != except)
        return format("There is already a preset named \"%s\".", m_presets[*taken].name.c_str());
    return {};
}

bool PresetLibrary::put(const ChannelPreset& preset)
{
    const auto same = find(preset.name);
    if (!nameProblem(preset.name, same).empty() || !preset.settings.valid())
        return false;
    if (same) {
        m_presets[*same] = preset;
        return true;
    }
    if (m_presets.size() >= MaxPresets)
        return false;
    m_presets.push_back(preset);
    return true;
}

std::string PresetLibrary::rename(std::size_t index, const std::string& name)
{
    if (index >= m_presets.size())
        return "No such preset.";
    std::string problem = nameProblem(name, index);
    if (problem.empty())
        m_presets[index].name = name;
    return problem;
}

void PresetLibrary::remove(std::size_t index)
{
    if (index < m_presets.size())
        m_presets.erase(m_presets.begin() + static_cast<std::ptrdiff_t>(index));
}

PresetLibrary::Decoded PresetLibrary::decode(std::string_view text)
{
    Decoded decoded;
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<ChannelPreset>& presets = decoded.library.m_presets;
    enum class Where {
        BeforeAnySection,
        Preset, // the keys go to presets.back()
        Passed, // a damaged or repeated section: its keys are passed over with it
    } where = Where::BeforeAnySection;
    std::array<bool, Keys.size()> seen{};
    int lineNumber = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmedView(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        const auto damaged = [&] { decoded.damagedLines.push_back(lineNumber); };
        if (line.front() == '[') {
            const std::string name(trimmedView(line.substr(1, line.size() >= 2 ? line.size() - 2 : 0)));
            if (line.size() < 2 || line.back() != ']' || presets.size() >= MaxPresets ||
                !decoded.library.nameProblem(name).empty()) {
                damaged();
                where = Where::Passed;
                continue;
            }
            presets.push_back({name, {}});
            seen.fill(false);
            where = Where::Preset;
            continue;
        }
        if (where == Where::Passed)
            continue;
        const std::size_t equals = line.find('=');
        if (where == Where::BeforeAnySection || equals == std::string_view::npos) {
            damaged();
            continue;
        }
        const std::string key(trimmedView(line.substr(0, equals)));
        const std::string_view value = trimmedView(line.substr(equals + 1));
        std::size_t k = 0;
        while (k < Keys.size() && !equalsIgnoringCase(key, Keys[k].name))
            ++k;
        if (k == Keys.size() || seen[k]) {
            damaged();
            continue;
        }
        seen[k] = true;
        if (value.empty())
            continue; // the setting is left alone, as without the key
        const auto parsed = number(value, Keys[k].low, Keys[k].high);
        if (!parsed) {
            damaged();
            continue;
        }
        presets.back().settings.*Keys[k].field = *parsed;
    }
    return decoded;
}

std::string PresetLibrary::encode() const
{
    std::string text;
    for (const ChannelPreset& preset : m_presets) {
        if (!text.empty())
            text += "\n";
        text += "[" + preset.name + "]\n";
        for (const Key& key : Keys)
            if (const auto& value = preset.settings.*key.field)
                text += format("%s=%d\n", key.name, *value);
    }
    return text;
}

PresetLibrary PresetLibrary::examples()
{
    PresetLibrary library;
    const auto add = [&library](const char* name, int gain, int pad, int pol, int phantom) {
        ChannelPreset preset{name, {}};
        preset.settings.gainDb = gain;
        preset.settings.pad = pad;
        preset.settings.polarity = pol;
        if (phantom >= 0)
            preset.settings.phantom48V = phantom;
        library.m_presets.push_back(preset);
    };
    // Mute is left alone by all of them, so applying a preset never opens or closes a
    // channel; the bass DI leaves 48 V alone, as the box in use may want it or not.
    add("Vocal dynamic", 50, 0, 0, 0);
    add("Vocal condenser", 40, 0, 0, 1);
    add("Overhead condenser", 30, 0, 0, 1);
    add("Kick drum inside", 20, 1, 0, 0);
    add("Snare bottom", 35, 0, 1, 0);
    add("DI bass", 20, 0, 0, -1);
    return library;
}

PresetLibrary::ReadResult PresetLibrary::read(const std::string& path)
{
    ReadResult result;
    std::error_code error;
    if (!std::filesystem::exists(nativePath(path), error))
        return result;
    std::ifstream in(nativePath(path), std::ios::binary);
    if (!in) {
        result.unreadable = true;
        return result;
    }
    std::string text(MaxBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (in.bad()) {
        result.unreadable = true;
        return result;
    }
    if (got > MaxBytes) {
        result.tooLarge = true;
        return result;
    }
    text.resize(got);
    result.decoded = decode(text);
    return result;
}

std::string PresetLibrary::damageMessage(const std::string& path, const ReadResult& result)
{
    if (result.tooLarge)
        return format("The preset file %s is too large and was not read.", path.c_str());
    if (result.unreadable)
        return format("The preset file %s cannot be read.", path.c_str());
    const std::vector<int>& lines = result.decoded.damagedLines;
    if (lines.empty())
        return {};
    if (lines.size() == 1)
        return format("The preset file %s is damaged: line %d was ignored.", path.c_str(), lines.front());
    constexpr std::size_t Listed = 10;
    std::string numbers;
    for (std::size_t i = 0; i < lines.size() && i < Listed; ++i)
        numbers += (i == 0 ? "" : ", ") + std::to_string(lines[i]);
    if (lines.size() > Listed)
        numbers += format(" and %d more", static_cast<int>(lines.size() - Listed));
    return format("The preset file %s is damaged: lines %s were ignored.", path.c_str(), numbers.c_str());
}

bool PresetLibrary::write(const std::string& path) const
{
    const std::string folder = directoryPart(path);
    if (!folder.empty() && !makeFolders(folder))
        return false;
    int errorNumber = 0;
    return writeWholeFile(path, encode(), errorNumber);
}

bool PresetLibrary::writeExamplesIfMissing(const std::string& path)
{
    std::error_code error;
    const auto status = std::filesystem::symlink_status(nativePath(path), error);
    if (status.type() != std::filesystem::file_type::not_found)
        return !error;
    return examples().write(path);
}

} // namespace deskpanel
