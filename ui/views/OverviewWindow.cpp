#include "ui/views/OverviewWindow.h"

#include "app/DeskPanelApp.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/ToggleButton.h"
#include "ui/dialogs/DialogLauncher.h"
#include "ui/views/MeterPainter.h"
#include "ui/views/MeterRepaintQueue.h"
#include "ui/views/StripControlWiring.h"

#include <QPalette>

namespace deskpanel {
namespace {

using Part = OverviewLayout::ChannelPart;

struct SwitchFace {
    Part part;
    int baseId;
    const char* off;
    const char* on;
    std::int32_t ChannelSettings::*state;
};
// In the order of Strip::toggles.
constexpr SwitchFace Switches[] = {
    {Part::Mute, 7000, "142", "143", &ChannelSettings::mute},
    {Part::Pol, 3000, "131", "138", &ChannelSettings::polarity},
    {Part::Pad, 5000, "144", "145", &ChannelSettings::pad},
    {Part::Phantom48V, 6000, "146", "147", &ChannelSettings::phantom48V},
};

} // namespace

OverviewWindow::OverviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent)
    : StripView(parent), m_app(app), m_dialogs(dialogs), m_painter(app), m_canvas(new StripCanvas(*this, this))
{
    static_assert(TotalWidth == 2 * (180 + 142 + 161 + 14));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, OverviewPainter::Background);
    setPalette(p);
    m_canvas->setGeometry(0, 0, m_layout.totalWidth(), m_layout.totalHeight());
    m_meterQueue = std::make_unique<MeterRepaintQueue>(
        *m_canvas, [this](int c) { return MeterPainter::paintedArea(m_layout.channelRect(Part::RangeAndPeak, c)); });

    if (!ImageRegistry::instance().contains(QStringLiteral("135")))
        m_app.operatorPort().message("ERROR - failed to Load thumb bitmap");
    for (int c = 0; c < MaxChannels; ++c)
        createStrip(c);
    for (int c = 0; c < MaxChannels; ++c)
        showChannelControls(c);

    m_app.channels().addListener(this);
    m_app.scenes().addChannelListener(this);
    m_app.metering().setListener(MeterView::Overview, this);
}

OverviewWindow::~OverviewWindow()
{
    m_app.metering().setListener(MeterView::Overview, nullptr);
    m_app.scenes().removeChannelListener(this);
    m_app.channels().removeListener(this);
}

void OverviewWindow::createStrip(int channel)
{
    Strip& strip = m_strips[static_cast<std::size_t>(channel)];
    for (std::size_t i = 0; i < strip.toggles.size(); ++i) {
        const SwitchFace& face = Switches[i];
        ToggleButton* button =
            ToggleButton::create(m_canvas, face.baseId, channel, QString::fromLatin1(face.off),
                                 QString::fromLatin1(face.on), m_layout.channelRect(face.part, channel));
        wireSwitch(button, m_app.channels());
        keepOutOfOpaqueRegion(button);
        strip.toggles[i] = button;
    }
    GainFader* fader = GainFader::create(m_canvas, m_layout.channelRect(Part::VerticalSliders, channel), channel,
                                         QStringLiteral("134"), QStringLiteral("135"));
    wireFader(fader, m_app.channels());
    keepOutOfOpaqueRegion(fader);
    strip.fader = fader;
}

void OverviewWindow::showChannelControls(int channel)
{
    const ChannelSettings& s = m_app.channels().settings(channel);
    Strip& strip = m_strips[static_cast<std::size_t>(channel)];
    for (std::size_t i = 0; i < strip.toggles.size(); ++i)
        strip.toggles[i]->setState(s.*Switches[i].state);
    if (!strip.fader->isDragging())
        strip.fader->setPosition(s.gainPosition);
}

void OverviewWindow::setScrollOffset(int offset)
{
    m_offset = std::clamp(offset, 0, contentLength());
    m_canvas->move(0, -m_offset);
}

void OverviewWindow::refreshFromModel()
{
    for (int c = 0; c < MaxChannels; ++c)
        showChannelControls(c);
    m_canvas->update();
}

QRect OverviewWindow::channelRect(OverviewLayout::ChannelPart part, int channel) const
{
    return m_layout.channelRect(part, channel).translated(0, -m_offset);
}

QRect OverviewWindow::unitRect(OverviewLayout::UnitPart part, int unit) const
{
    return m_layout.unitRect(part, unit).translated(0, -m_offset);
}

ToggleButton* OverviewWindow::toggle(int channel, int kind) const
{
    if (!isValidChannel(channel))
        return nullptr;
    for (ToggleButton* button : m_strips[static_cast<std::size_t>(channel)].toggles)
        if (button->kind() == kind)
            return button;
    return nullptr;
}

GainFader* OverviewWindow::fader(int channel) const
{
    return isValidChannel(channel) ? m_strips[static_cast<std::size_t>(channel)].fader : nullptr;
}

void OverviewWindow::updateContent(const QRect& contentRect)
{
    if (!contentRect.isEmpty())
        m_canvas->update(contentRect);
}

void OverviewWindow::paintContent(QPainter& p, const QRect& area)
{
    m_painter.paint(p, area);
}

void OverviewWindow::contentPressed(const QPoint& at, Qt::MouseButton button)
{
    if (at.x() < 0 || at.y() < 0 || at.x() >= m_layout.totalWidth())
        return;
    const int unit = at.y() / RowHeight * 2 + at.x() / OverviewLayout::UnitPitchX;
    if (unit < 0 || unit >= MaxUnits)
        return;
    if (button == Qt::RightButton && m_layout.unitRect(OverviewLayout::UnitPart::UnitName, unit).contains(at)) {
        m_dialogs.openUnitName(unit + 1);
        return;
    }
    for (int c = unit * ChannelsPerUnit; c < (unit + 1) * ChannelsPerUnit; ++c) {
        if (button == Qt::LeftButton && m_layout.channelRect(Part::SetLink, c).contains(at)) {
            m_app.channels().switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), c, 1);
            return;
        }
        if (button == Qt::RightButton && m_layout.channelRect(Part::RangeAndPeak, c).contains(at)) {
            m_dialogs.openMeterPreferences();
            return;
        }
    }
}

void OverviewWindow::channelChanged(int channel, ChannelAspect aspect)
{
    if (!isValidChannel(channel))
        return;
    showChannelControls(channel);
    if (aspect == ChannelAspect::Gain)
        updateContent(m_layout.channelRect(Part::BigDB, channel));
    else if (aspect == ChannelAspect::LinkGroup)
        updateContent(m_layout.channelRect(Part::SetLink, channel));
}

void OverviewWindow::allChannelsChanged()
{
    refreshFromModel();
}

void OverviewWindow::unitNameChanged(int unit)
{
    updateContent(m_layout.unitRect(OverviewLayout::UnitPart::UnitName, unit - 1));
}

void OverviewWindow::meterPreferencesChanged()
{
    m_canvas->update();
}

void OverviewWindow::projectReplaced()
{
    refreshFromModel();
}

void OverviewWindow::meterChanged(int channel, const MeterState&)
{
    m_meterQueue->markChanged(channel);
}

} // namespace deskpanel
