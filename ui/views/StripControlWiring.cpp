#include "ui/views/StripControlWiring.h"

#include "core/model/ChannelControl.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ToggleButton.h"

namespace deskpanel {

void wireSwitch(ToggleButton* button, ChannelControl& channels)
{
    QObject::connect(button, &ToggleButton::switchCommand, button,
                     [&channels](int channel, int kind, int value) { channels.switchChanged(kind, channel, value); });
}

void wireFader(GainFader* fader, ChannelControl& channels)
{
    fader->setReducedRangeQuery([&channels] { return channels.reducedGainRange(); });
    QObject::connect(fader, &GainFader::grabbed, fader, [&channels](int c) { channels.faderGrabbed(c); });
    QObject::connect(fader, &GainFader::moved, fader,
                     [&channels](int c, int position, bool alt) { channels.faderMoved(c, position, alt); });
    QObject::connect(fader, &GainFader::released, fader, [&channels](int c) { channels.faderReleased(c); });
}

void keepOutOfOpaqueRegion(QWidget* control)
{
    control->setAttribute(Qt::WA_OpaquePaintEvent, false);
}

} // namespace deskpanel
