#pragma once
#include "core/model/ChannelListener.h"
#include "core/model/Limits.h"
#include "core/model/MeterListener.h"
#include "ui/views/StripCanvas.h"
#include "ui/views/StripView.h"
#include "ui/views/UnderviewLayout.h"
#include "ui/views/UnderviewPainter.h"

#include <array>
#include <memory>

class GainFader;
class ToggleButton;

namespace deskpanel {

class DeskPanelApp;
class DialogLauncher;
class MeterRepaintQueue;

// The full-size view of all 48 units: one long row of unit blocks 672 pixels wide, each
// with eight channel strips 82 pixels wide, scrolled horizontally. Every strip has its
// five switches and its fader, which report to the channel control; the view follows the
// channel control and the scene operations, and draws the meters as readings come.
class UnderviewWindow : public StripView, private StripCanvas::Client, private ChannelListener, private MeterListener {
public:
    static constexpr int UnitWidth = UnderviewLayout::UnitPitch;
    static constexpr int StripWidth = UnderviewLayout::StripPitch;
    static constexpr int TotalWidth = 48 * UnitWidth; // 32256
    static constexpr int MaxScroll = 31244;
    static constexpr int ContentHeight = UnderviewLayout::Height;

    UnderviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent = nullptr);
    ~UnderviewWindow() override;

    void setScrollOffset(int offset) override;
    int scrollOffset() const override { return m_offset; }
    int contentLength() const override { return TotalWidth; }
    int unitOffset(int unit) const override { return (unit - 1) * UnitWidth; }
    void refreshFromModel() override;

    // Where a part of a channel's strip is in the view now (scrolled).
    QRect channelRect(UnderviewLayout::ChannelPart part, int channel) const;
    QRect unitRect(UnderviewLayout::UnitPart part, int unit) const;
    // The switch of `kind` (ToggleButton::Kind) and the fader of a channel.
    ToggleButton* toggle(int channel, int kind) const;
    GainFader* fader(int channel) const;
    const MeterRepaintQueue& meterQueue() const { return *m_meterQueue; }

private:
    struct Strip {
        std::array<ToggleButton*, 5> toggles{}; // Pol, Pad, 48v, Mute, Link
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
    void readoutMarksCleared() override;

    DeskPanelApp& m_app;
    DialogLauncher& m_dialogs;
    const UnderviewLayout& m_layout = UnderviewLayout::shared();
    UnderviewPainter m_painter;
    StripCanvas* m_canvas;
    std::unique_ptr<MeterRepaintQueue> m_meterQueue;
    std::array<Strip, MaxChannels> m_strips{};
    int m_offset = 0;
};

} // namespace deskpanel
