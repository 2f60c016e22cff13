#include "core/persistence/SceneRecordCodec.h"

#include "core/persistence/LittleEndian.h"
#include "core/persistence/Windows1252.h"

#include <algorithm>
#include <cstring>

namespace deskpanel {
namespace {

using namespace projectfile;

void putText(std::uint8_t* record, std::size_t offset, const std::string& utf8)
{
    const std::string bytes = fieldText(utf8);
    std::memcpy(record + offset, bytes.data(), bytes.size());
    // The rest of the field, NUL included, is already zero.
}

void putWord(std::uint8_t* record, std::size_t arrayOffset, int slot, std::int32_t value)
{
    putInt32(record + arrayOffset + static_cast<std::size_t>(slot) * 4, value);
}

std::int32_t getWord(const std::uint8_t* record, std::size_t arrayOffset, int slot)
{
    return getInt32(record + arrayOffset + static_cast<std::size_t>(slot) * 4);
}

std::int32_t clampGain(std::int32_t position)
{
    return std::clamp<std::int32_t>(position, 0, MaxGainPosition);
}

std::int32_t asSwitch(std::int32_t value)
{
    return value != 0 ? 1 : 0;
}

} // namespace

std::string fieldText(const std::string& utf8)
{
    // After conversion every character is one byte, so cutting bytes cuts characters.
    std::string bytes = toWindows1252(utf8);
    if (bytes.size() > TextBytes - 1)
        bytes.resize(TextBytes - 1);
    return bytes;
}

void encodeSceneRecord(const Project& project, const Scene& scene, std::uint8_t* record)
{
    std::memset(record, 0, record::Bytes);
    putInt32(record + record::UnitCount, WrittenUnitCount);
    putText(record, record::SceneName, scene.name);
    putText(record, record::SceneNotes, scene.notes);

    for (int c = 0; c < MaxChannels; ++c) {
        const ChannelSettings& s = scene.settings[static_cast<std::size_t>(c)];
        putWord(record, record::GainPosition, c, s.gainPosition);
        putWord(record, record::Polarity, c, s.polarity);
        putWord(record, record::Pad, c, s.pad);
        putWord(record, record::Phantom48V, c, s.phantom48V);
        putWord(record, record::Mute, c, s.mute);
        putWord(record, record::LinkButton, c, s.linkButton);
        putWord(record, record::LinkGroup, c, s.linkGroup);
        putWord(record, record::LinkActive, c, s.linkActive);
        putWord(record, record::GainAux, c, s.gainAux);

        const std::string label = linkGroupLabel(s.linkGroup);
        std::memcpy(record + record::LinkLabel + static_cast<std::size_t>(c) * LinkLabelBytes, label.data(),
                    std::min(label.size(), LinkLabelBytes - 1));

        const ChannelInfo& info = project.channels[static_cast<std::size_t>(c)];
        putText(record, record::ChannelName + static_cast<std::size_t>(c) * TextBytes, info.name);
        putText(record, record::ChannelNotes + static_cast<std::size_t>(c) * TextBytes, info.notes);
    }
    for (int u = 0; u < MaxUnits; ++u) {
        const UnitInfo& unit = project.units[static_cast<std::size_t>(u)];
        putText(record, record::UnitName + static_cast<std::size_t>(u) * TextBytes, unit.name);
        putText(record, record::UnitNotes + static_cast<std::size_t>(u) * TextBytes, unit.notes);
    }
    for (int g = 0; g < MaxLinkGroups; ++g) {
        const LinkGroup& group = project.linkGroups[static_cast<std::size_t>(g)];
        putText(record, record::GroupTitle + static_cast<std::size_t>(g) * TextBytes, group.title);
        putText(record, record::GroupNotes + static_cast<std::size_t>(g) * TextBytes, group.notes);
    }
}

std::string recordText(const std::uint8_t* record, std::size_t offset)
{
    return fromWindows1252(record + offset, TextBytes);
}

ChannelSettings recordSettings(const std::uint8_t* record, int channel)
{
    ChannelSettings s;
    s.gainPosition = clampGain(getWord(record, record::GainPosition, channel));
    s.gainAux = clampGain(getWord(record, record::GainAux, channel));
    s.polarity = asSwitch(getWord(record, record::Polarity, channel));
    s.pad = asSwitch(getWord(record, record::Pad, channel));
    s.phantom48V = asSwitch(getWord(record, record::Phantom48V, channel));
    s.mute = asSwitch(getWord(record, record::Mute, channel));
    s.linkButton = asSwitch(getWord(record, record::LinkButton, channel));
    const std::int32_t group = getWord(record, record::LinkGroup, channel);
    s.linkGroup = (group >= 0 && group <= MaxLinkGroups) ? group : 0;
    s.linkActive = asSwitch(getWord(record, record::LinkActive, channel));
    return s;
}

int recordUnitCount(const std::uint8_t* record)
{
    return std::clamp<std::int32_t>(getInt32(record + record::UnitCount), 0, WrittenUnitCount);
}

} // namespace deskpanel
