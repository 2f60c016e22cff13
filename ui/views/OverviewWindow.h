#pragma once
#include "core/model/ChannelListener.h"
#include "core/model/Limits.h"
#include "core/model/MeterListener.h"
#include "ui/views/OverviewLayout.h"
#include "ui/views/OverviewPainter.h"
#include "ui/views/StripCanvas.h"
#include "ui/views/StripView.h"

#include <array>
#include <memory>

class GainFader;
class ToggleButton;

namespace deskpanel {

class DeskPanelApp;
class DialogLauncher;
class MeterRepaintQueue;

// The compact view of all 48 units: two unit blocks a row, 24 rows, scrolled vertically.
// Every strip has its Mute, Pol, Pad and 48v switches and a small fader, which report to
// the channel control; the view follows the channel control and the scene operations,
// and draws the meters as readings come.
class OverviewWindow : public StripView, private StripCanvas::Client, private ChannelListener, private MeterListener {
public:
    static constexpr int RowHeight = OverviewLayout::RowHeight;
    static constexpr int Rows = OverviewLayout::Rows;
    static constexpr int TotalWidth = 994; // the normal layout's width: two unit blocks

    OverviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent = nullptr);
    ~OverviewWindow() override;

    void setScrollOffset(int offset) override;
    int scrollOffset() const override { return m_offset; }
    int contentLength() const override { return Rows * RowHeight; }
    int unitOffset(int unit) const override { return (unit - 1) / 2 * RowHeight; }
    void refreshFromModel() override;

    // Where a part of a channel's strip or a unit's block is in the view now (scrolled).
    QRect channelRect(OverviewLayout::ChannelPart part, int channel) const;
    QRect unitRect(OverviewLayout::UnitPart part, int unit) const;
    // The switch of `kind` (ToggleButton::Kind; no Link here) and the fader of a channel.
    ToggleButton* toggle(int channel, int kind) const;
    GainFader* fader(int channel) const;
    const MeterRepaintQueue& meterQueue() const { return *m_meterQueue; }

private:
    struct Strip {
        std::array<ToggleButton*, 4> toggles{}; // Mute, Pol, Pad, 48v
        GainFader* fader = nullptr;
    };

    void createStrip(int channel);
    void showChannelControls(int channel);
    void updateContent(const QRect& contentRect);

    void paintContent(QPainter& p, const QRect& area) override;
    void contentPressed(const QPoint& at, Qt::MouseButton button) override;

    void channelChanged(int channel, ChannelAspect aspect) override;
    void allChannelsChanged() override;
    void unitNameChanged(int unit) override;
    void meterPreferencesChanged() override;
    void projectReplaced() override;

    void meterChanged(int channel, const MeterState& meter) override;
    void readoutMarksCleared() override {}

    DeskPanelApp& m_app;
    DialogLauncher& m_dialogs;
    const OverviewLayout& m_layout = OverviewLayout::shared();
    OverviewPainter m_painter;
    StripCanvas* m_canvas;
    std::unique_ptr<MeterRepaintQueue> m_meterQueue;
    std::array<Strip, MaxChannels> m_strips{};
    int m_offset = 0;
};

} // namespace deskpanel
