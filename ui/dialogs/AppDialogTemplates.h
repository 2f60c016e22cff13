#pragma once
#include "ui/controls/DialogTemplate.h"

namespace deskpanel {

// Control ids of the program's dialogs beyond the shared ones of ControlId.
namespace DialogControl {
// Naming dialogs (channel, unit, scene, link group).
constexpr int Heading = 1100;
constexpr int NameEdit = 1101;
constexpr int NotesLabel = 1102;
constexpr int NotesEdit = 1103;
constexpr int Prev = 1104;
constexpr int Next = 1105;
// Preferences.
constexpr int PromptsGroup = 1016;
constexpr int PromptNewScene = 1916;
constexpr int PromptRecallScene = 1911;
constexpr int PromptSceneDelete = 1912;
constexpr int PromptSceneReorder = 1918;
constexpr int RateGroup = 1017;
constexpr int Rate50 = 32795; // .. 32799 for 1000 ms
constexpr int MeteringButton = 1001;
constexpr int AutosaveButton = 1002;
constexpr int MuteLinked = 1006;
constexpr int SimulatePeaks = 1007;
// Autosave.
constexpr int AutosaveText = 1110;
constexpr int Minutes = 1014;
constexpr int MinutesText = 1111;
constexpr int Off = 1002;
// Meter preferences.
constexpr int ScaleLabel = 1120;
constexpr int Dbu = 1121;
constexpr int Dbfs = 1122;
constexpr int DbuList = 1123;
constexpr int DbuLabel = 1124;
constexpr int DbfsList = 1125;
constexpr int DbfsLabel = 1126;
constexpr int DisplayLabel = 1127;
constexpr int DisplayFirst = 1128; // 4 radios: Peak Only, VU Only, Peak and VU, Peak over VU
constexpr int HoldLabel = 1132;
constexpr int HoldFirst = 1133; // 4 radios: 3 Sec, 10 Sec, Infinite, Off
constexpr int RedZoneLabel = 1137;
constexpr int RedZone = 1138;
constexpr int RedZoneUnit = 1139;
// Link matrix, members, status dialogs.
constexpr int Help = 1140;
constexpr int MatrixScrollBar = 1141;
constexpr int MatrixArea = 1142;
constexpr int MembersGroup = 1143;
constexpr int MembersTitle = 1144;
constexpr int MembersList = 1145;
constexpr int StatusList = 1146;
constexpr int StatusField = 1147; // 4 fields
constexpr int StatusLabel = 1151; // 4 labels
constexpr int MacLine = 1155;
constexpr int IpLine = 1156;
constexpr int SelectLabel = 1157;
constexpr int Indicator = 1158;
constexpr int Check = 1159;
// Event log window.
constexpr int EventUnitLabel = 1170;
constexpr int EventUnitFilter = 1171;
constexpr int EventKindLabel = 1172;
constexpr int EventKindFilter = 1173;
constexpr int EventTable = 1174;
constexpr int EventExport = 1175;
constexpr int EventCount = 1176;
// Channel sheet and backups.
constexpr int SheetSceneLabel = 1180;
constexpr int SheetScene = 1181;
constexpr int SheetUnitsLabel = 1182;
constexpr int SheetUnits = 1183;
constexpr int BackupLabel = 1184;
constexpr int BackupList = 1185;
} // namespace DialogControl

namespace DialogTemplates {
enum class Naming {
    Channel,
    Unit,
    NewScene,
    RenameScene,
    LinkGroup
};
const DialogTemplate& naming(Naming kind);
const DialogTemplate& preferences(); // 231
const DialogTemplate& autosave(); // 146
const DialogTemplate& meterPreferences();
const DialogTemplate& linkMatrix();
const DialogTemplate& linkGroupMembers();
const DialogTemplate& systemStatus();
const DialogTemplate& eventLog();
const DialogTemplate& channelSheet();
const DialogTemplate& openBackup();
const DialogTemplate& unitStatus();
const DialogTemplate& identityCheck();
} // namespace DialogTemplates

} // namespace deskpanel
