#pragma once
#include "core/model/ChannelListener.h"
#include "core/model/ChannelSettings.h"
#include "core/model/Limits.h"
#include "core/model/MeterListener.h"
#include "ui/views/StripCanvas.h"
#include "ui/views/StripView.h"

#include <QSize>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace deskpanel {
class GainFader;
class PartButton;
class ToggleButton;

class DeskPanelApp;
class DialogLauncher;
class RepaintQueue;

// What both channel-strip views do alike. The content of all 48 units lies on one canvas
// that the scroll offset moves along the view's axis; every strip has a row of switches
// and a fader, which report to the channel control; the view follows the channel control
// and the scene operations; what a change or a reading alters is marked and repainted
// at the view's next frame (RepaintQueue). A right
// click on a unit's name opens Unit Name, a left click on a link field the link group
// popup, a right click on a meter the meter preferences. `Layout` says where everything
// lies and `Painter` draws the content. Built for the two views' layouts only
// (StripWindow.cpp).
template <class Layout, class Painter>
class StripWindow : public StripView, private StripCanvas::Client, private ChannelListener, private MeterListener {
public:
    using ChannelPart = typename Layout::ChannelPart;
    using UnitPart = typename Layout::UnitPart;

    // One switch of every strip: where it lies, its base id (ToggleButton::Kind x 1000),
    // its off and on pictures and the setting it shows.
    struct SwitchFace {
        ChannelPart part;
        int baseId;
        const char* off;
        const char* on;
        std::int32_t ChannelSettings::*state;
    };
    static constexpr std::size_t MaxSwitches = 5; // Pol, Pad, 48v, Mute, Link

    // What tells one view's strips from the other's.
    struct Faces {
        MeterView meterView;
        Qt::Orientation scrollAxis;
        std::span<const SwitchFace> switches; // at most MaxSwitches, in a strip's order
        ChannelPart faderPart;
        const char* faderTrack;
        const char* faderThumb;
        // The channel's title field, where the view shows one.
        std::optional<ChannelPart> titlePart{};
    };

    ~StripWindow() override;

    void setScrollOffset(int offset) override;
    int scrollOffset() const override { return m_offset; }
    int contentLength() const override
    {
        return m_faces.scrollAxis == Qt::Vertical ? m_contentSize.height() : m_contentSize.width();
    }
    void refreshFromModel() override;

    // Where a part of a channel's strip or a unit's block is in the view now (scrolled).
    QRect channelRect(ChannelPart part, int channel) const;
    QRect unitRect(UnitPart part, int unit) const;
    // The switch of `kind` (ToggleButton::Kind) and the fader of a channel; null when the
    // channel is out of range or its strip has no such switch.
    ToggleButton* toggle(int channel, int kind) const;
    GainFader* fader(int channel) const
    {
        return isValidChannel(channel) ? m_strips[static_cast<std::size_t>(channel)].fader : nullptr;
    }
    const RepaintQueue& repaintQueue() const { return *m_repaints; }

protected:
    // `faces` must outlive the view (a constant table); `contentSize` is the size of the
    // whole content of 48 units.
    StripWindow(DeskPanelApp& app, DialogLauncher& dialogs, const Faces& faces, QSize contentSize, QWidget* parent);

    DeskPanelApp& app() const { return m_app; }
    const Layout& layout() const { return m_layout; }

    // The content area (content coordinates) that shows `aspect` of a channel and must be
    // repainted when it changes; empty when the switches and fader show it by themselves.
    virtual QRect aspectArea(int channel, ChannelAspect aspect) const;
    // The unit (0..47) whose block holds `at` (content coordinates); out of range for none.
    virtual int unitAt(const QPoint& at) const = 0;
    // A view's own clicks on a channel's strip, tried before the common ones; true when
    // the click was taken.
    virtual bool stripPressed(int /*channel*/, const QPoint& /*at*/, Qt::MouseButton /*button*/) { return false; }
    // Where a channel's title field lies (content coordinates); empty when the view shows none.
    virtual QRect channelTitleArea(int /*channel*/) const { return {}; }
    // Marks every meter: those in sight are repainted from their state at the next frame.
    void markAllMetersChanged();

private:
    struct Strip {
        std::array<ToggleButton*, MaxSwitches> toggles{}; // in the order of Faces::switches
        GainFader* fader = nullptr;
        PartButton* link = nullptr; // the link field's Tab stop
        PartButton* title = nullptr; // the title's, where the view shows one
    };

    void createStrip(int channel);
    void showChannelControls(int channel);
    void updateContent(const QRect& contentRect);
    // Where the content's origin is in the view: moved back by the offset along the axis.
    QPoint contentShift() const;

    void paintContent(QPainter& p, const QRect& area) override;
    // True when `area` (content coordinates) lies inside a fader, which paints all of its
    // rectangle itself.
    bool underFader(const QRect& area) const;
    void contentPressed(const QPoint& at, Qt::MouseButton button) override;
    bool contentKey(QKeyEvent* event) override;

    // The painted parts assistive technology is told of: the channels' meters. The link
    // fields and the titles are Tab stops of their own (PartButton), in a strip's order.
    int paintedPartCount() const override { return MaxChannels; }
    PaintedPart paintedPart(int index) const override;
    void pressPaintedPart(int) override {} // a meter has no press
    void createUnitTitle(int unit);
    QString channelLabel(int channel) const;
    void nameChannelControls(int channel);
    void nameUnitTitle(int unit);

    void channelChanged(int channel, ChannelAspect aspect) override;
    void allChannelsChanged() override { refreshFromModel(); }
    void unitNameChanged(int unit) override;
    void meterPreferencesChanged() override;
    void projectReplaced() override { refreshFromModel(); }

    void meterChanged(int channel, const MeterState& meter) override;
    void readoutMarksCleared() override {}

    DeskPanelApp& m_app;
    DialogLauncher& m_dialogs;
    const Faces m_faces;
    const QSize m_contentSize;
    const Layout& m_layout = Layout::shared();
    Painter m_painter;
    StripCanvas* m_canvas;
    std::unique_ptr<RepaintQueue> m_repaints;
    std::array<Strip, MaxChannels> m_strips{};
    std::array<PartButton*, MaxUnits> m_unitTitles{};
    int m_offset = 0;
};

} // namespace deskpanel
