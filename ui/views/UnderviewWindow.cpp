#include "ui/views/UnderviewWindow.h"

#include "app/DeskPanelApp.h"
#include "ui/dialogs/DialogLauncher.h"

namespace deskpanel {
namespace {

using Part = UnderviewLayout::ChannelPart;

constexpr UnderviewWindow::SwitchFace Switches[] = {
    {Part::Pol, 3000, "129", "130", &ChannelSettings::polarity},
    {Part::Pad, 5000, "238", "241", &ChannelSettings::pad},
    {Part::Phantom48V, 6000, "244", "245", &ChannelSettings::phantom48V},
    {Part::Mute, 7000, "247", "248", &ChannelSettings::mute},
    {Part::Link, 4000, "235", "236", &ChannelSettings::linkButton},
};
static_assert(std::size(Switches) <= UnderviewWindow::MaxSwitches);

constexpr UnderviewWindow::Faces UnderviewFaces{MeterView::Underview, Qt::Horizontal, Switches,
                                                Part::Fader,          "133",          "132"};

} // namespace

UnderviewWindow::UnderviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent)
    : StripWindow(app, dialogs, UnderviewFaces, QSize(TotalWidth, ContentHeight), parent)
{}

QRect UnderviewWindow::aspectArea(int channel, ChannelAspect aspect) const
{
    if (aspect == ChannelAspect::Name)
        return layout().channelRect(Part::ChannelScribble, channel);
    return StripWindow::aspectArea(channel, aspect);
}

void UnderviewWindow::contentPressed(const QPoint& at, Qt::MouseButton button)
{
    const int unit = at.x() / UnitWidth;
    if (unit < 0 || unit >= MaxUnits)
        return;
    if (button == Qt::RightButton && layout().unitRect(UnitPart::UnitName, unit).contains(at)) {
        dialogs().openUnitName(unit + 1);
        return;
    }
    for (int c = unit * ChannelsPerUnit; c < (unit + 1) * ChannelsPerUnit; ++c) {
        const QRect meter = layout().channelRect(Part::RangeAndPeak, c);
        if (button == Qt::LeftButton) {
            if (QRect(meter.topLeft(), QSize(meter.width(), UnderviewLayout::ReadoutBoxPx)).contains(at)) {
                app().metering().resetReadout(c);
                return;
            }
            if (layout().channelRect(Part::SetLink, c).contains(at)) {
                app().channels().switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), c, 1);
                return;
            }
        } else if (button == Qt::RightButton) {
            if (layout().channelRect(Part::ChannelScribble, c).contains(at)) {
                app().channels().switchChanged(static_cast<int>(SwitchKind::ChannelTitle), c, 1);
                return;
            }
            if (meter.contains(at)) {
                dialogs().openMeterPreferences();
                return;
            }
        }
    }
}

// The numbers come back with each meter's next reading; the marks go now.
void UnderviewWindow::readoutMarksCleared()
{
    markAllMetersChanged();
}

} // namespace deskpanel
