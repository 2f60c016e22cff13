#pragma once
#include <array>
#include <cstdint>

namespace deskpanel {

// The preferences record that travels in every project file, one member per word in
// file order. Defaults apply from start-up until a file with a record is opened.
struct ProjectPrefs {
    static constexpr int WordCount = 27;

    std::int32_t promptNewScene = 0; // 0
    std::int32_t promptRecallScene = 0; // 1
    std::int32_t promptSceneDelete = 0; // 2
    std::int32_t promptSceneReorder = 0; // 3
    std::uint16_t ethernetUpdateRate = 100; // 4: 50, 100, 200, 500 or 1000 ms
    std::int32_t muteLinkedChannels = 1; // 5
    std::int32_t peakHold10s = 0; // 6
    std::int32_t peakHold3s = 1; // 7
    std::int32_t peakHoldInfinite = 0; // 8
    std::int32_t peakHoldOff = 0; // 9
    std::int32_t peakHoldMs = 3000; // 10: 10000, 3000, -1 infinite, 0 off
    std::int32_t redZoneThreshold = 20; // 11: 4..22
    std::int32_t meterDisplay1 = 0; // 12: "Peak and VU"
    std::int32_t meterDisplay2 = 1; // 13: "Peak over VU"
    std::int32_t meterDisplay3 = 0; // 14: "VU Only"
    std::int32_t meterDisplay4 = 0; // 15: "Peak Only"
    // word 16 is reserved: written as 0, ignored on reading
    std::int32_t dbuMaxLevelIndex = 0; // 17: "22", "18", "15", "12", "9"
    std::int32_t dbuMaxLevel = 22; // 18
    std::int32_t dbfsReferenceIndex = 1; // 19: "-15", "-18", "-20"
    std::int32_t dbfsReference = -18; // 20
    std::int32_t meterConfirmedA = 1; // 21: set to 1 whenever meter prefs are confirmed
    std::int32_t meterConfirmedB = 1; // 22: likewise
    std::int32_t meterScaleDbu = 0; // 23
    std::int32_t meterScaleDbfs = 1; // 24
    std::int32_t autosaveMinutes = 10; // 25: 1..60
    std::int32_t autosaveOff = 1; // 26

    bool operator==(const ProjectPrefs&) const = default;
};

} // namespace deskpanel
