#include "core/records/ChannelSheet.h"

#include "core/model/GainMath.h"
#include "core/records/Csv.h"

#include <charconv>

namespace deskpanel {

namespace {

std::string trimmed(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

const char* onOff(bool on)
{
    return on ? "on" : "off";
}

} // namespace

std::vector<int> ChannelSheetMaker::allUnits()
{
    std::vector<int> units;
    for (int u = 1; u <= MaxUnits; ++u)
        units.push_back(u);
    return units;
}

std::optional<int> ChannelSheetMaker::findScene(const SceneList& scenes, const std::string& text)
{
    const std::string wanted = trimmed(text);
    if (wanted.empty())
        return std::nullopt;
    int number = -1;
    const auto [end, error] = std::from_chars(wanted.data(), wanted.data() + wanted.size(), number);
    if (error == std::errc{} && end == wanted.data() + wanted.size() && wanted.size() <= 3) {
        if (number == 0 || scenes.isStoredPosition(number))
            return number;
        return std::nullopt;
    }
    if (wanted == "Blank Scene")
        return 0;
    for (int p = 1; p < scenes.count(); ++p)
        if (trimmed(scenes.scene(p).name) == wanted)
            return p;
    return std::nullopt;
}

ChannelSheet ChannelSheetMaker::make(const Project& project, int scenePosition, const std::vector<int>& units,
                                     bool reducedGainRange)
{
    ChannelSheet sheet;
    sheet.projectName = project.projectName;
    ChannelSettingsArray settings = project.live;
    // A stored scene's sheet shows the names it would recall; notes are not stored in a
    // scene and stay the live ones.
    const std::array<std::string, MaxChannels>* sceneNames = nullptr;
    if (scenePosition == Live) {
        sheet.sceneName = "Live";
    } else if (project.scenes.isStoredPosition(scenePosition)) {
        sheet.sceneName = project.scenes.scene(scenePosition).name;
        settings = project.scenes.scene(scenePosition).settings;
        sceneNames = &project.scenes.scene(scenePosition).channelNames;
    } else {
        sheet.sceneName = "Blank Scene";
        settings.fill(ChannelSettings{});
    }
    for (int unit : units) {
        if (!isValidUnitNumber(unit))
            continue;
        for (int input = 1; input <= ChannelsPerUnit; ++input) {
            const int c = channelIndex(unit, input);
            const ChannelSettings& s = settings[static_cast<std::size_t>(c)];
            ChannelSheetRow row;
            row.unit = unit;
            row.unitName = project.units[static_cast<std::size_t>(unit - 1)].name;
            row.input = input;
            row.channel = c + 1;
            row.channelName = sceneNames ? (*sceneNames)[static_cast<std::size_t>(c)]
                                         : project.channels[static_cast<std::size_t>(c)].name;
            row.notes = project.channels[static_cast<std::size_t>(c)].notes;
            row.gainDb = gainDb(s.gainPosition, reducedGainRange);
            row.pad = s.pad != 0;
            row.polarity = s.polarity != 0;
            row.phantom48V = s.phantom48V != 0;
            row.mute = s.mute != 0;
            if (s.linkGroup >= 1 && s.linkGroup <= MaxLinkGroups) {
                row.linkGroup = s.linkGroup;
                row.linkGroupName = project.linkGroups[static_cast<std::size_t>(s.linkGroup - 1)].title;
            }
            sheet.rows.push_back(std::move(row));
        }
    }
    return sheet;
}

std::string channelSheetCsv(const ChannelSheet& sheet)
{
    std::string out = csv::Utf8Bom;
    out += csv::line({"Unit", "Unit Name", "Input", "Channel", "Channel Name", "Notes", "Gain dB", "Pad", "Polarity",
                      "48V", "Mute", "Link Group", "Link Group Name"});
    for (const ChannelSheetRow& r : sheet.rows)
        out += csv::line({std::to_string(r.unit), csv::textField(r.unitName), std::to_string(r.input),
                          std::to_string(r.channel), csv::textField(r.channelName), csv::textField(r.notes),
                          std::to_string(r.gainDb), onOff(r.pad), onOff(r.polarity), onOff(r.phantom48V), onOff(r.mute),
                          r.linkGroup == 0 ? std::string() : std::to_string(r.linkGroup),
                          csv::textField(r.linkGroupName)});
    return out;
}

} // namespace deskpanel
