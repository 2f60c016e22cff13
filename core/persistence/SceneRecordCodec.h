#pragma once
#include "core/model/ChannelSettings.h"
#include "core/model/Project.h"
#include "core/model/Scene.h"
#include "core/persistence/ProjectFileLayout.h"

#include <cstdint>
#include <string>

namespace deskpanel {

// Fills a whole 222212-byte record for one stored scene: its name, notes and settings,
// and the project's current names and notes of channels, units and link groups. Every
// text is cut to 99 characters; unused slots and the bytes after each NUL are zero.
void encodeSceneRecord(const Project& project, const Scene& scene, std::uint8_t* record);

// A text field of a record: up to its first NUL, never past `TextBytes`.
std::string recordText(const std::uint8_t* record, std::size_t offset);

// The settings of channel slot `channel` (0..383). Values outside their ranges are
// brought into them (gain positions limited to 0..72, switches to 0 or 1, an unknown
// link group to none), so nothing a file holds can index past a table.
ChannelSettings recordSettings(const std::uint8_t* record, int channel);

// The record's unit count limited to 0..48.
int recordUnitCount(const std::uint8_t* record);

// A text as it goes into a 100-byte field: Windows-1252, at most 99 bytes.
std::string fieldText(const std::string& utf8);

} // namespace deskpanel
