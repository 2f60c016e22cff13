#include "ui/views/OverviewWindow.h"

#include "app/DeskPanelApp.h"
#include "ui/dialogs/DialogLauncher.h"

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

constexpr OverviewWindow::Faces OverviewFaces{MeterView::Overview,   Qt::Vertical, Switches,
                                              Part::VerticalSliders, "134",        "135"};

} // namespace

OverviewWindow::OverviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent)
    : StripWindow(app, dialogs, OverviewFaces,
                  QSize(OverviewLayout::shared().totalWidth(), OverviewLayout::shared().totalHeight()), parent)
{
    static_assert(TotalWidth == 2 * (180 + 142 + 161 + 14));
}

void OverviewWindow::contentPressed(const QPoint& at, Qt::MouseButton button)
{
    if (at.x() < 0 || at.y() < 0 || at.x() >= layout().totalWidth())
        return;
    const int unit = at.y() / RowHeight * 2 + at.x() / OverviewLayout::UnitPitchX;
    if (unit < 0 || unit >= MaxUnits)
        return;
    if (button == Qt::RightButton && layout().unitRect(UnitPart::UnitName, unit).contains(at)) {
        dialogs().openUnitName(unit + 1);
        return;
    }
    for (int c = unit * ChannelsPerUnit; c < (unit + 1) * ChannelsPerUnit; ++c) {
        if (button == Qt::LeftButton && layout().channelRect(Part::SetLink, c).contains(at)) {
            app().channels().switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), c, 1);
            return;
        }
        if (button == Qt::RightButton && layout().channelRect(Part::RangeAndPeak, c).contains(at)) {
            dialogs().openMeterPreferences();
            return;
        }
    }
}

} // namespace deskpanel
