#include "ui/dialogs/AppDialogTemplates.h"

namespace deskpanel {

namespace DialogTemplates {
namespace {
using namespace DialogControl;
const QString msSansSerif = QStringLiteral("MS Sans Serif");
const QString microsoftSansSerif = QStringLiteral("Microsoft Sans Serif");
constexpr DialogTemplate::Control leftCorner{ControlId::LeftCorner, QRect(0, 0, 18, 18)};

// The header strip of a dialog `width` units wide, where the layout does not give one.
DialogTemplate::Control headerFor(int width)
{
    return {ControlId::Header, QRect(33, 0, width - 42, 18)};
}

DialogTemplate makeNaming(Naming kind)
{
    const bool walks = kind == Naming::Channel || kind == Naming::Unit || kind == Naming::LinkGroup;
    const int height = kind == Naming::LinkGroup ? 155 : 156;
    int okX = 65, cancelX = 105, nextX = 153;
    if (kind == Naming::NewScene) {
        okX = 64;
        cancelX = 103;
    } else if (kind == Naming::RenameScene) {
        okX = 61;
        cancelX = 101;
    } else if (kind == Naming::LinkGroup) {
        okX = 61;
        cancelX = 101;
        nextX = 149;
    }
    DialogTemplate t{QStringLiteral("naming"), QSize(201, height), msSansSerif, 80, {}};
    t.controls = {leftCorner,
                  headerFor(201),
                  {Heading, kind == Naming::NewScene ? QRect(16, 26, 109, 8) : QRect(16, 26, 170, 15)},
                  {NameEdit, QRect(21, 46, 158, 14)},
                  {NotesLabel, QRect(16, 65, 22, 8)},
                  {NotesEdit, QRect(21, 78, 158, 38)},
                  {ControlId::Ok, QRect(okX, 131, 36, 12)},
                  {ControlId::Cancel, QRect(cancelX, 131, 36, 12)}};
    if (walks) {
        t.controls.push_back({Prev, QRect(16, 131, 36, 12)});
        t.controls.push_back({Next, QRect(nextX, 131, 36, 12)});
    }
    return t;
}
} // namespace

const DialogTemplate& naming(Naming kind)
{
    static const DialogTemplate channel = makeNaming(Naming::Channel);
    static const DialogTemplate unit = makeNaming(Naming::Unit);
    static const DialogTemplate newScene = makeNaming(Naming::NewScene);
    static const DialogTemplate renameScene = makeNaming(Naming::RenameScene);
    static const DialogTemplate linkGroup = makeNaming(Naming::LinkGroup);
    switch (kind) {
    case Naming::Channel: return channel;
    case Naming::Unit: return unit;
    case Naming::NewScene: return newScene;
    case Naming::RenameScene: return renameScene;
    case Naming::LinkGroup: break;
    }
    return linkGroup;
}

const DialogTemplate& preferences()
{
    static const DialogTemplate t{QStringLiteral("231"),
                                  QSize(218, 174),
                                  msSansSerif,
                                  80,
                                  {{ControlId::Header, QRect(35, 0, 183, 18)},
                                   {PromptsGroup, QRect(7, 26, 113, 64)},
                                   {PromptNewScene, QRect(12, 37, 84, 10)},
                                   {PromptRecallScene, QRect(12, 47, 93, 10)},
                                   {PromptSceneDelete, QRect(12, 57, 89, 10)},
                                   {PromptSceneReorder, QRect(12, 67, 108, 10)},
                                   {RateGroup, QRect(125, 26, 82, 64)},
                                   {Rate50, QRect(131, 37, 63, 10)},
                                   {Rate50 + 1, QRect(131, 47, 67, 10)},
                                   {Rate50 + 2, QRect(131, 57, 67, 10)},
                                   {Rate50 + 3, QRect(131, 67, 67, 10)},
                                   {Rate50 + 4, QRect(131, 77, 73, 10)},
                                   {MeteringButton, QRect(36, 96, 50, 14)},
                                   {AutosaveButton, QRect(141, 96, 50, 14)},
                                   {MuteLinked, QRect(19, 116, 83, 10)},
                                   {SimulatePeaks, QRect(19, 130, 77, 10)},
                                   {ControlId::Ok, QRect(89, 148, 32, 14)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& autosave()
{
    static const DialogTemplate t{QStringLiteral("146"),
                                  QSize(168, 101),
                                  microsoftSansSerif,
                                  80,
                                  {{ControlId::Header, QRect(33, 0, 126, 18)},
                                   {AutosaveText, QRect(35, 34, 55, 8)},
                                   // The minutes display and its spin control (26, 49 and
                                   // 63, 48) make one spin box.
                                   {Minutes, QRect(26, 48, 46, 12)},
                                   {MinutesText, QRect(75, 50, 29, 8)},
                                   {Off, QRect(111, 49, 25, 10)},
                                   {ControlId::Ok, QRect(47, 75, 36, 12)},
                                   {ControlId::Cancel, QRect(86, 75, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& meterPreferences()
{
    static const DialogTemplate t{QStringLiteral("meterprefs"),
                                  QSize(222, 159),
                                  msSansSerif,
                                  80,
                                  {headerFor(222),
                                   {ScaleLabel, QRect(15, 32, 60, 8)},
                                   {Dbu, QRect(20, 42, 30, 10)},
                                   {Dbfs, QRect(20, 56, 31, 10)},
                                   {DbuList, QRect(55, 39, 36, 13)},
                                   {DbuLabel, QRect(93, 41, 80, 8)},
                                   {DbfsList, QRect(55, 56, 36, 13)},
                                   {DbfsLabel, QRect(93, 58, 90, 8)},
                                   {DisplayLabel, QRect(12, 76, 60, 8)},
                                   {DisplayFirst, QRect(20, 86, 58, 10)},
                                   {DisplayFirst + 1, QRect(20, 97, 58, 10)},
                                   {DisplayFirst + 2, QRect(20, 108, 58, 10)},
                                   {DisplayFirst + 3, QRect(20, 118, 58, 10)},
                                   {HoldLabel, QRect(81, 76, 60, 8)},
                                   {HoldFirst, QRect(88, 86, 45, 10)},
                                   {HoldFirst + 1, QRect(88, 97, 45, 10)},
                                   {HoldFirst + 2, QRect(88, 108, 45, 10)},
                                   {HoldFirst + 3, QRect(88, 118, 45, 10)},
                                   {RedZoneLabel, QRect(141, 77, 75, 8)},
                                   {RedZone, QRect(141, 87, 28, 12)},
                                   {RedZoneUnit, QRect(171, 88, 12, 8)},
                                   {ControlId::Ok, QRect(72, 138, 32, 12)},
                                   {ControlId::Cancel, QRect(107, 138, 32, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& linkMatrix()
{
    static const DialogTemplate t{QStringLiteral("link"),
                                  QSize(424, 226),
                                  microsoftSansSerif,
                                  80,
                                  {headerFor(424),
                                   {MatrixArea, QRect(14, 22, 396, 170)},
                                   {MatrixScrollBar, QRect(137, 193, 270, 10)},
                                   {ControlId::Ok, QRect(15, 202, 35, 13)},
                                   {Help, QRect(58, 202, 35, 13)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& linkGroupMembers()
{
    static const DialogTemplate t{QStringLiteral("members"),
                                  QSize(140, 160),
                                  microsoftSansSerif,
                                  80,
                                  {headerFor(140),
                                   {MembersGroup, QRect(8, 24, 124, 8)},
                                   {MembersTitle, QRect(8, 33, 124, 8)},
                                   {MembersList, QRect(12, 44, 115, 84)},
                                   {ControlId::Ok, QRect(51, 139, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& eventLog()
{
    static const DialogTemplate t{QStringLiteral("eventlog"),
                                  QSize(440, 260),
                                  microsoftSansSerif,
                                  80,
                                  {headerFor(440),
                                   {EventUnitLabel, QRect(14, 27, 20, 8)},
                                   {EventUnitFilter, QRect(36, 25, 70, 13)},
                                   {EventKindLabel, QRect(118, 27, 20, 8)},
                                   {EventKindFilter, QRect(140, 25, 80, 13)},
                                   {EventCount, QRect(232, 27, 194, 8)},
                                   {EventTable, QRect(14, 42, 412, 190)},
                                   {EventExport, QRect(14, 239, 60, 12)},
                                   {ControlId::Ok, QRect(390, 239, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& channelSheet()
{
    static const DialogTemplate t{QStringLiteral("channelsheet"),
                                  QSize(200, 100),
                                  microsoftSansSerif,
                                  80,
                                  {headerFor(200),
                                   {SheetSceneLabel, QRect(14, 30, 40, 8)},
                                   {SheetScene, QRect(56, 28, 130, 13)},
                                   {SheetUnitsLabel, QRect(14, 52, 40, 8)},
                                   {SheetUnits, QRect(56, 50, 130, 13)},
                                   {ControlId::Ok, QRect(60, 78, 36, 12)},
                                   {ControlId::Cancel, QRect(104, 78, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& openBackup()
{
    static const DialogTemplate t{QStringLiteral("openbackup"),
                                  QSize(240, 170),
                                  microsoftSansSerif,
                                  80,
                                  {headerFor(240),
                                   {BackupLabel, QRect(14, 26, 212, 8)},
                                   {BackupList, QRect(14, 38, 212, 106)},
                                   {ControlId::Ok, QRect(80, 150, 36, 12)},
                                   {ControlId::Cancel, QRect(124, 150, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& systemStatus()
{
    static const DialogTemplate t{QStringLiteral("systemstatus"),
                                  QSize(187, 120),
                                  microsoftSansSerif,
                                  80,
                                  {headerFor(187),
                                   {StatusLabel, QRect(23, 27, 94, 8)},
                                   {StatusLabel + 1, QRect(19, 42, 98, 8)},
                                   {StatusLabel + 2, QRect(76, 56, 41, 8)},
                                   {StatusLabel + 3, QRect(68, 71, 49, 8)},
                                   {StatusField, QRect(119, 26, 44, 10)},
                                   {StatusField + 1, QRect(119, 41, 44, 10)},
                                   {StatusField + 2, QRect(119, 56, 43, 10)},
                                   {StatusField + 3, QRect(119, 71, 43, 10)},
                                   {StatusList, QRect(14, 84, 161, 13)},
                                   {ControlId::Ok, QRect(74, 103, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& unitStatus()
{
    static const DialogTemplate t{QStringLiteral("unitstatus"),
                                  QSize(173, 140),
                                  msSansSerif,
                                  80,
                                  {headerFor(173),
                                   {ControlId::Text, QRect(10, 25, 152, 58)},
                                   {MacLine, QRect(10, 89, 152, 8)},
                                   {IpLine, QRect(10, 102, 152, 8)},
                                   {Prev, QRect(24, 117, 36, 12)},
                                   {ControlId::Ok, QRect(68, 117, 36, 12)},
                                   {Next, QRect(116, 116, 36, 12)},
                                   leftCorner}};
    return t;
}

const DialogTemplate& identityCheck()
{
    static const DialogTemplate t{QStringLiteral("identitycheck"),
                                  QSize(178, 101),
                                  microsoftSansSerif,
                                  80,
                                  {headerFor(178),
                                   {SelectLabel, QRect(67, 33, 50, 8)},
                                   {StatusList, QRect(12, 46, 149, 13)},
                                   {Indicator, QRect(39, 72, 9, 8)},
                                   {Check, QRect(58, 72, 36, 12)},
                                   {ControlId::Ok, QRect(97, 72, 36, 12)},
                                   leftCorner}};
    return t;
}

} // namespace DialogTemplates

} // namespace deskpanel
