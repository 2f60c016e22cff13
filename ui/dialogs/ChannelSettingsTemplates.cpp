#include "ui/dialogs/ChannelSettingsTemplates.h"

namespace deskpanel::ChannelSettingsTemplates {

namespace {
using namespace ChannelSettingsControl;
const QString microsoftSansSerif = QStringLiteral("Microsoft Sans Serif");

// The left corner picture and the header strip every dialog of the program has.
DialogTemplate make(const char* name, QSize size, std::vector<DialogTemplate::Control> controls)
{
    DialogTemplate t{
        QString::fromLatin1(name),
        size,
        microsoftSansSerif,
        80,
        {{ControlId::LeftCorner, QRect(0, 0, 18, 18)}, {ControlId::Header, QRect(33, 0, size.width() - 42, 18)}}};
    t.controls.insert(t.controls.end(), controls.begin(), controls.end());
    return t;
}
} // namespace

const DialogTemplate& paste()
{
    static const DialogTemplate t = [] {
        std::vector<DialogTemplate::Control> c{{SettingsLabel, QRect(12, 24, 196, 10)},
                                               {Onto, QRect(12, 54, 196, 10)},
                                               {Current, QRect(16, 66, 190, 10)},
                                               {Channels, QRect(16, 81, 72, 10)},
                                               {ChannelFrom, QRect(90, 79, 36, 13)},
                                               {ChannelToLabel, QRect(130, 81, 12, 10)},
                                               {ChannelTo, QRect(144, 79, 36, 13)},
                                               {Units, QRect(16, 97, 72, 10)},
                                               {UnitFrom, QRect(90, 95, 36, 13)},
                                               {UnitToLabel, QRect(130, 97, 12, 10)},
                                               {UnitTo, QRect(144, 95, 36, 13)},
                                               {ControlId::Ok, QRect(62, 118, 45, 13)},
                                               {ControlId::Cancel, QRect(113, 118, 45, 13)}};
        for (int i = 0; i < 5; ++i)
            c.push_back({Gain + i, QRect(16 + i * 38, 37, 36, 10)});
        return make("pastesettings", QSize(220, 140), c);
    }();
    return t;
}

const DialogTemplate& presets()
{
    static const DialogTemplate t = make("channelpresets", QSize(250, 172),
                                         {{PresetList, QRect(12, 24, 150, 136)},
                                          {Apply, QRect(170, 24, 68, 13)},
                                          {New, QRect(170, 41, 68, 13)},
                                          {Rename, QRect(170, 58, 68, 13)},
                                          {Delete, QRect(170, 75, 68, 13)},
                                          {Import, QRect(170, 100, 68, 13)},
                                          {Export, QRect(170, 117, 68, 13)},
                                          {ControlId::Cancel, QRect(170, 147, 68, 13)}});
    return t;
}

const DialogTemplate& presetName()
{
    static const DialogTemplate t = make("presetname", QSize(190, 80),
                                         {{NameLabel, QRect(12, 24, 166, 10)},
                                          {NameEdit, QRect(12, 36, 166, 13)},
                                          {ControlId::Ok, QRect(45, 58, 45, 13)},
                                          {ControlId::Cancel, QRect(100, 58, 45, 13)}});
    return t;
}

} // namespace deskpanel::ChannelSettingsTemplates
