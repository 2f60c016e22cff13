#pragma once
#include "ui/views/StripWindow.h"
#include "ui/views/UnderviewLayout.h"
#include "ui/views/UnderviewPainter.h"

#include <functional>

namespace deskpanel {

extern template class StripWindow<UnderviewLayout, UnderviewPainter>;

// The full-size view of all 48 units: one long row of unit blocks 672 pixels wide, each
// with eight channel strips 82 pixels wide, scrolled horizontally. Every strip has its
// five switches and its fader, a channel name and a meter with a peak readout.
class UnderviewWindow : public StripWindow<UnderviewLayout, UnderviewPainter> {
public:
    static constexpr int UnitWidth = UnderviewLayout::UnitPitch;
    static constexpr int TotalWidth = 48 * UnitWidth; // 32256
    static constexpr int MaxScroll = 31244;
    static constexpr int ContentHeight = UnderviewLayout::Height;

    UnderviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent = nullptr);

    int unitOffset(int unit) const override { return (unit - 1) * UnitWidth; }
    // Shift with a right click on a channel's name field: the channel and where the
    // pointer is, for the menu of copy, paste and presets.
    std::function<void(int channel, const QPoint& globalPos)> onSettingsMenu;

private:
    QRect aspectArea(int channel, ChannelAspect aspect) const override;
    int unitAt(const QPoint& at) const override { return at.x() / UnitWidth; }
    bool stripPressed(int channel, const QPoint& at, Qt::MouseButton button) override;
    QRect channelTitleArea(int channel) const override
    {
        return layout().channelRect(UnderviewLayout::ChannelPart::ChannelScribble, channel);
    }
    void readoutMarksCleared() override;
};

} // namespace deskpanel
