#include "ui/views/UnderviewWindow.h"

#include "app/DeskPanelApp.h"

#include <QCursor>
#include <QGuiApplication>

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

constexpr UnderviewWindow::Faces UnderviewFaces{
    .meterView = MeterView::Underview,
    .scrollAxis = Qt::Horizontal,
    .switches = Switches,
    .faderPart = Part::Fader,
    .faderTrack = "133",
    .faderThumb = "132",
    .titlePart = Part::ChannelScribble,
};

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

// A left click on the readout box above a meter resets its readout; a right click on the
// channel's name field asks for its title, and with Shift opens the settings menu.
bool UnderviewWindow::stripPressed(int channel, const QPoint& at, Qt::MouseButton button)
{
    const QRect meter = layout().channelRect(Part::RangeAndPeak, channel);
    if (button == Qt::LeftButton &&
        QRect(meter.topLeft(), QSize(meter.width(), UnderviewLayout::ReadoutBoxPx)).contains(at)) {
        app().metering().resetReadout(channel);
        return true;
    }
    if (button == Qt::RightButton && layout().channelRect(Part::ChannelScribble, channel).contains(at)) {
        if (onSettingsMenu && QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier)) {
            onSettingsMenu(channel, QCursor::pos());
            return true;
        }
        app().channels().switchChanged(static_cast<int>(SwitchKind::ChannelTitle), channel, 1);
        return true;
    }
    return false;
}

// The numbers come back with each meter's next reading; the marks go now.
void UnderviewWindow::readoutMarksCleared()
{
    markAllMetersChanged();
}

} // namespace deskpanel
