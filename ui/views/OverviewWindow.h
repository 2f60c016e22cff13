#pragma once
#include "ui/views/StripView.h"

namespace deskpanel {

class DeskPanelApp;
class DialogLauncher;

// The compact view of all 48 units: two unit blocks a row, 24 rows, scrolled vertically.
class OverviewWindow : public StripView {
public:
    static constexpr int RowHeight = 168;
    static constexpr int Rows = 24;
    static constexpr int TotalWidth = 994; // the normal layout's width

    OverviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent = nullptr);

    void setScrollOffset(int offset) override;
    int scrollOffset() const override { return m_offset; }
    int contentLength() const override { return Rows * RowHeight; }
    int unitOffset(int unit) const override { return (unit - 1) / 2 * RowHeight; }
    void refreshFromModel() override;

private:
    DeskPanelApp& m_app;
    DialogLauncher& m_dialogs;
    int m_offset = 0;
};

} // namespace deskpanel
