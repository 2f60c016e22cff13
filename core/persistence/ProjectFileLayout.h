#pragma once
#include <cstddef>

namespace deskpanel::projectfile {

// Byte layout of a project file (".vpf"). All integers are 32-bit little-endian; texts
// are NUL-terminated Windows-1252 in 100-byte fields.

constexpr char HeaderText[] = "CONVERTED"; // followed by one NUL
constexpr std::size_t HeaderBytes = 10;
constexpr std::size_t PrefsWords = 27;
constexpr std::size_t PrefsBytes = PrefsWords * 4; // 108
constexpr std::size_t RecordsOffset = HeaderBytes + PrefsBytes; // 118

// A scene record is laid out for 800 channel slots and 100 unit slots; the program uses
// slots 0..383 and 0..47 and writes zeros into the rest.
constexpr std::size_t ChannelSlots = 800;
constexpr std::size_t UnitSlots = 100;
constexpr std::size_t TextBytes = 100;
constexpr std::size_t LinkLabelBytes = 10;
constexpr std::size_t GroupSlots = 10;
constexpr std::size_t WordArrayBytes = ChannelSlots * 4; // 3200

namespace record {
constexpr std::size_t UnitCount = 0;
constexpr std::size_t SceneName = 4;
constexpr std::size_t SceneNotes = 104;
constexpr std::size_t GainPosition = 204;
constexpr std::size_t Reserved = 3404;
constexpr std::size_t Polarity = 6604;
constexpr std::size_t Pad = 9804;
constexpr std::size_t Phantom48V = 13004;
constexpr std::size_t Mute = 16204;
constexpr std::size_t LinkButton = 19404;
constexpr std::size_t LinkGroup = 22604;
constexpr std::size_t LinkActive = 25804;
constexpr std::size_t GainAux = 29004;
constexpr std::size_t LinkLabel = 32204;
constexpr std::size_t ChannelName = 40204;
constexpr std::size_t ChannelNotes = 120204;
constexpr std::size_t UnitName = 200204;
constexpr std::size_t UnitNotes = 210204;
constexpr std::size_t GroupTitle = 220204;
constexpr std::size_t GroupNotes = 221204;
constexpr std::size_t Tail = 222204; // 8 reserved bytes
constexpr std::size_t Bytes = 222212;
} // namespace record

static_assert(record::LinkLabel + ChannelSlots * LinkLabelBytes == record::ChannelName);
static_assert(record::GroupNotes + GroupSlots * TextBytes + 8 == record::Bytes);

// The unit count every record is written with; a reader takes at most this many.
constexpr int WrittenUnitCount = 48;

} // namespace deskpanel::projectfile
