#pragma once
#include "core/model/Project.h"

#include <optional>
#include <string>
#include <vector>

namespace deskpanel {

// The input list for the stage: one row per channel of the chosen units, with its names
// and settings taken from the live state or from one scene.
struct ChannelSheetRow {
    int unit = 1;
    std::string unitName;
    int input = 1; // 1..8
    int channel = 1; // 1..384
    std::string channelName;
    std::string notes;
    int gainDb = 0;
    bool pad = false;
    bool polarity = false;
    bool phantom48V = false;
    bool mute = false;
    int linkGroup = 0; // 0: none
    std::string linkGroupName;
};

struct ChannelSheet {
    std::string projectName;
    std::string sceneName; // "Live", "Blank Scene" or the scene's name
    std::vector<ChannelSheetRow> rows;
};

class ChannelSheetMaker {
public:
    // The settings the sheet shows: the live state, or a scene list position (0 is the
    // Blank Scene, whose settings are the defaults).
    static constexpr int Live = -1;

    // `units` in the order wanted; numbers outside 1..48 are left out.
    static ChannelSheet make(const Project& project, int scenePosition, const std::vector<int>& units,
                             bool reducedGainRange = false);
    // Every unit number, 1..48.
    static std::vector<int> allUnits();
    // A scene as the operator names it: its number as listed ("2" or "002", 0 for the
    // Blank Scene) or its name without the number. Nothing when there is no such scene.
    static std::optional<int> findScene(const SceneList& scenes, const std::string& text);
};

// The sheet as CSV: UTF-8 with BOM, RFC 4180, the header line first.
std::string channelSheetCsv(const ChannelSheet& sheet);

} // namespace deskpanel
