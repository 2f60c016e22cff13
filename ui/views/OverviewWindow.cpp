#include "ui/views/OverviewWindow.h"

namespace deskpanel {
namespace {

using Part = OverviewLayout::ChannelPart;

constexpr OverviewWindow::SwitchFace Switches[] = {
    {Part::Mute, 7000, "142", "143", &ChannelSettings::mute},
    {Part::Pol, 3000, "131", "138", &ChannelSettings::polarity},
    {Part::Pad, 5000, "144", "145", &ChannelSettings::pad},
    {Part::Phantom48V, 6000, "146", "147", &ChannelSettings::phantom48V},
};
static_assert(std::size(Switches) <= OverviewWindow::MaxSwitches);

constexpr OverviewWindow::Faces OverviewFaces{
    .meterView = MeterView::Overview,
    .scrollAxis = Qt::Vertical,
    .switches = Switches,
    .faderPart = Part::VerticalSliders,
    .faderTrack = "134",
    .faderThumb = "135",
};

} // namespace

OverviewWindow::OverviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent)
    : StripWindow(app, dialogs, OverviewFaces,
                  QSize(OverviewLayout::shared().totalWidth(), OverviewLayout::shared().totalHeight()), parent)
{
    static_assert(TotalWidth == 2 * (180 + 142 + 161 + 14));
}

int OverviewWindow::unitAt(const QPoint& at) const
{
    if (at.x() < 0 || at.y() < 0 || at.x() >= layout().totalWidth())
        return -1;
    return at.y() / RowHeight * 2 + at.x() / OverviewLayout::UnitPitchX;
}

} // namespace deskpanel
