#include "core/records/PresetCsv.h"

#include "core/model/Text.h"
#include "core/persistence/NativePath.h"
#include "core/persistence/PathText.h"
#include "core/records/ChannelNameImport.h"
#include "core/records/Csv.h"

#include <array>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>

namespace deskpanel::PresetCsv {

namespace {

struct Column {
    const char* header;
    std::optional<int> PartialSettings::*field;
};
constexpr std::array<Column, 5> Columns{{
    {"Gain dB", &PartialSettings::gainDb},
    {"Pad", &PartialSettings::pad},
    {"Polarity", &PartialSettings::polarity},
    {"48V", &PartialSettings::phantom48V},
    {"Mute", &PartialSettings::mute},
}};

// The value of a field, nothing for a blank one, or false when it is out of range.
bool parse(const std::string& field, bool isGain, std::optional<int>& out)
{
    const std::string t = trimmed(field);
    out.reset();
    if (t.empty())
        return true;
    if (!isGain) {
        if (equalsIgnoringCase(t, "on") || t == "1")
            out = 1;
        else if (equalsIgnoringCase(t, "off") || t == "0")
            out = 0;
        return out.has_value();
    }
    int value = 0;
    const auto [end, error] = std::from_chars(t.data(), t.data() + t.size(), value);
    if (error != std::errc{} || end != t.data() + t.size() || value < 8 || value > 80)
        return false;
    out = value;
    return true;
}

// The formula guard of the export, and one more apostrophe before a name that starts
// with one, so that the import's taking off of the guard gives every name back whole.
std::string guardedName(const std::string& name)
{
    return csv::textField(!name.empty() && name.front() == '\'' ? "'" + name : name);
}

std::string unguardedName(const std::string& field)
{
    const std::string t = trimmed(field);
    if (t.size() >= 2 && t[0] == '\'' && t[1] == '\'')
        return t.substr(1);
    return trimmed(ChannelNameImport::unguarded(t));
}

} // namespace

std::string write(const PresetLibrary& library)
{
    std::string out = csv::Utf8Bom;
    std::vector<std::string> header{"Preset"};
    for (const Column& c : Columns)
        header.emplace_back(c.header);
    out += csv::line(header);
    for (const ChannelPreset& preset : library.presets()) {
        std::vector<std::string> fields{guardedName(preset.name)};
        for (const Column& c : Columns) {
            const auto& value = preset.settings.*c.field;
            if (!value)
                fields.emplace_back();
            else if (c.field == &PartialSettings::gainDb)
                fields.push_back(std::to_string(*value));
            else
                fields.emplace_back(*value ? "on" : "off");
        }
        out += csv::line(fields);
    }
    return out;
}

Import read(const std::string& bytes)
{
    Import result;
    if (bytes.size() > ChannelNameImport::MaxFileBytes) {
        result.error = "The file is too large for a list of presets.";
        return result;
    }
    std::string text = bytes;
    if (text.rfind(csv::Utf8Bom, 0) == 0)
        text.erase(0, 3);
    const char separator = ChannelNameImport::separatorOf(text.substr(0, text.find_first_of("\r\n")));
    std::vector<int> lines;
    const auto rows = ChannelNameImport::records(text, separator, &lines);
    if (rows.empty()) {
        result.error = "The file is empty.";
        return result;
    }
    std::map<std::string, std::size_t> column;
    for (std::size_t i = 0; i < rows[0].size(); ++i)
        column.emplace(trimmed(rows[0][i]), i);
    if (column.count("Preset") == 0) {
        result.error = "The file needs the column \"Preset\".";
        return result;
    }
    const auto field = [&column](const std::vector<std::string>& row, const char* name) {
        const auto at = column.find(name);
        return at == column.end() || at->second >= row.size() ? std::string() : row[at->second];
    };

    PresetLibrary seen; // the names so far, checked as the library checks them
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const auto& row = rows[r];
        const int line = lines[r];
        const std::string name = unguardedName(field(row, "Preset"));
        std::string problem = seen.nameProblem(name, seen.find(name));
        if (!problem.empty()) {
            result.refusals.push_back({line, problem});
            continue;
        }
        ChannelPreset preset{name, {}};
        for (const Column& c : Columns)
            if (!parse(field(row, c.header), c.field == &PartialSettings::gainDb, preset.settings.*c.field))
                problem = format("preset \"%s\": %s is not %s", name.c_str(), c.header,
                                 c.field == &PartialSettings::gainDb ? "8..80" : "on or off");
        if (!problem.empty()) {
            result.refusals.push_back({line, problem});
            continue;
        }
        if (!seen.put(preset)) {
            result.refusals.push_back({line, "the library is full"});
            continue;
        }
    }
    result.presets = seen.presets();
    return result;
}

Import readFile(const std::string& path)
{
    std::ifstream in(nativePath(path), std::ios::binary);
    std::string bytes;
    if (in) {
        bytes.resize(ChannelNameImport::MaxFileBytes + 1);
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (!in && !in.eof()) {
        Import result;
        result.error = format("The file \"%s\" cannot be read.", path.c_str());
        return result;
    }
    return read(bytes);
}

ChangeList preview(const Import& import, const PresetLibrary& library)
{
    ChangeList list;
    list.caption = "Import Channel Presets";
    list.acceptText = "&Import";
    list.heading = import.presets.empty()
                       ? "No presets. Nothing will be imported:"
                       : format("%d presets will be imported:", static_cast<int>(import.presets.size()));
    for (const Refusal& refusal : import.refusals)
        list.lines.push_back(
            {ChangeLine::Kind::Warning, format("Line %d refused: %s", refusal.line, refusal.reason.c_str())});
    for (const ChannelPreset& preset : import.presets)
        list.lines.push_back({ChangeLine::Kind::Change, format("\"%s\" %s", preset.name.c_str(),
                                                               library.find(preset.name) ? "replaced" : "new")});
    return list;
}

void apply(const Import& import, PresetLibrary& library)
{
    for (const ChannelPreset& preset : import.presets)
        library.put(preset);
}

} // namespace deskpanel::PresetCsv
