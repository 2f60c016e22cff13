#include "core/model/PartialSettings.h"

#include "core/model/GainMath.h"

namespace deskpanel {

namespace {
bool isSwitch(const std::optional<int>& value)
{
    return !value || *value == 0 || *value == 1;
}
} // namespace

PartialSettings PartialSettings::of(const ChannelSettings& settings, bool reducedGainRange)
{
    const auto onOff = [](std::int32_t state) { return state > 0 ? 1 : 0; };
    PartialSettings out;
    out.gainDb = deskpanel::gainDb(settings.gainPosition, reducedGainRange);
    out.pad = onOff(settings.pad);
    out.polarity = onOff(settings.polarity);
    out.phantom48V = onOff(settings.phantom48V);
    out.mute = onOff(settings.mute);
    return out;
}

bool PartialSettings::valid() const
{
    if (gainDb && (*gainDb < MinGainDb || *gainDb > MaxGainDb))
        return false;
    return isSwitch(pad) && isSwitch(polarity) && isSwitch(phantom48V) && isSwitch(mute);
}

PartialSettings SettingsChoice::applyTo(const PartialSettings& settings) const
{
    PartialSettings out;
    if (gain)
        out.gainDb = settings.gainDb;
    if (pad)
        out.pad = settings.pad;
    if (polarity)
        out.polarity = settings.polarity;
    if (phantom48V)
        out.phantom48V = settings.phantom48V;
    if (mute)
        out.mute = settings.mute;
    return out;
}

} // namespace deskpanel
