#pragma once
#include "ui/views/StripView.h"

namespace deskpanel {

class DeskPanelApp;
class DialogLauncher;

// The full-size view of all 48 units: one long row of unit blocks 672 pixels wide, each
// with eight channel strips 82 pixels wide, scrolled horizontally.
class UnderviewWindow : public StripView {
public:
    static constexpr int UnitWidth = 672;
    static constexpr int StripWidth = 82;
    static constexpr int TotalWidth = 48 * UnitWidth; // 32256
    static constexpr int MaxScroll = 31244;

    UnderviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent = nullptr);

    void setScrollOffset(int offset) override;
    int scrollOffset() const override { return m_offset; }
    int contentLength() const override { return TotalWidth; }
    int unitOffset(int unit) const override { return (unit - 1) * UnitWidth; }
    void refreshFromModel() override;

private:
    DeskPanelApp& m_app;
    DialogLauncher& m_dialogs;
    int m_offset = 0;
};

} // namespace deskpanel
