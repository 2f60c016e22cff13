#pragma once
#include "ui/controls/DialogTemplate.h"

namespace deskpanel {

// Control ids and layouts of the paste dialog, the presets dialog and the preset name box.
namespace ChannelSettingsControl {
constexpr int SettingsLabel = 1180;
constexpr int Gain = 1181; // the five boxes, in this order
constexpr int Onto = 1186;
constexpr int Current = 1187;
constexpr int Channels = 1188;
constexpr int ChannelFrom = 1189;
constexpr int ChannelTo = 1190;
constexpr int Units = 1191;
constexpr int UnitFrom = 1192;
constexpr int UnitTo = 1193;
constexpr int ChannelToLabel = 1194;
constexpr int UnitToLabel = 1195;
constexpr int PresetList = 1196;
constexpr int Apply = 1197;
constexpr int New = 1198;
constexpr int Rename = 1199;
constexpr int Delete = 1200;
constexpr int Import = 1201;
constexpr int Export = 1202;
constexpr int NameLabel = 1203;
constexpr int NameEdit = 1204;
} // namespace ChannelSettingsControl

namespace ChannelSettingsTemplates {
const DialogTemplate& paste();
const DialogTemplate& presets();
const DialogTemplate& presetName();
} // namespace ChannelSettingsTemplates

} // namespace deskpanel
