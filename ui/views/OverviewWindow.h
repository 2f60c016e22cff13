#pragma once
#include "ui/views/OverviewLayout.h"
#include "ui/views/OverviewPainter.h"
#include "ui/views/StripWindow.h"

namespace deskpanel {

extern template class StripWindow<OverviewLayout, OverviewPainter>;

// The compact view of all 48 units: two unit blocks a row, 24 rows, scrolled vertically.
// Every strip has its Mute, Pol, Pad and 48v switches, a small fader and a meter.
class OverviewWindow : public StripWindow<OverviewLayout, OverviewPainter> {
public:
    static constexpr int RowHeight = OverviewLayout::RowHeight;
    static constexpr int TotalWidth = 994; // the normal layout's width: two unit blocks

    OverviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent = nullptr);

    int unitOffset(int unit) const override { return (unit - 1) / 2 * RowHeight; }

private:
    int unitAt(const QPoint& at) const override;
};

} // namespace deskpanel
