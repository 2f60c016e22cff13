#include "ui/views/UnderviewWindow.h"

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

using Part = UnderviewLayout::ChannelPart;

struct SwitchFace {
    Part part;
    int baseId;
    const char* off;
    const char* on;
    std::int32_t ChannelSettings::*state;
};
// In the order of Strip::toggles.
constexpr SwitchFace Switches[] = {
    {Part::Pol, 3000, "129", "130", &ChannelSettings::polarity},
    {Part::Pad, 5000, "238", "241", &ChannelSettings::pad},
    {Part::Phantom48V, 6000, "244", "245", &ChannelSettings::phantom48V},
    {Part::Mute, 7000, "247", "248", &ChannelSettings::mute},
    {Part::Link, 4000, "235", "236", &ChannelSettings::linkButton},
};

} // namespace

UnderviewWindow::UnderviewWindow(DeskPanelApp& app, DialogLauncher& dialogs, QWidget* parent)
    : StripView(parent), m_app(app), m_dialogs(dialogs), m_painter(app), m_canvas(new StripCanvas(*this, this))
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, UnderviewPainter::Background);
    setPalette(p);
    m_canvas->setGeometry(0, 0, TotalWidth, ContentHeight);
    m_meterQueue = std::make_unique<MeterRepaintQueue>(
        *m_canvas, [this](int c) { return MeterPainter::paintedArea(m_layout.channelRect(Part::RangeAndPeak, c)); });

    if (!ImageRegistry::instance().contains(QStringLiteral("132")))
        m_app.operatorPort().message("ERROR - failed to Load thumb bitmap");
    for (int c = 0; c < MaxChannels; ++c)
        createStrip(c);
    for (int c = 0; c < MaxChannels; ++c)
        showChannelControls(c);

    m_app.channels().addListener(this);
    m_app.scenes().addChannelListener(this);
    m_app.metering().setListener(MeterView::Underview, this);
}

UnderviewWindow::~UnderviewWindow()
{
    m_app.metering().setListener(MeterView::Underview, nullptr);
    m_app.scenes().removeChannelListener(this);
    m_app.channels().removeListener(this);
}

void UnderviewWindow::createStrip(int channel)
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
    GainFader* fader = GainFader::create(m_canvas, m_layout.channelRect(Part::Fader, channel), channel,
                                         QStringLiteral("133"), QStringLiteral("132"));
    wireFader(fader, m_app.channels());
    keepOutOfOpaqueRegion(fader);
    strip.fader = fader;
}

void UnderviewWindow::showChannelControls(int channel)
{
    const ChannelSettings& s = m_app.channels().settings(channel);
    Strip& strip = m_strips[static_cast<std::size_t>(channel)];
    for (std::size_t i = 0; i < strip.toggles.size(); ++i)
        strip.toggles[i]->setState(s.*Switches[i].state);
    if (!strip.fader->isDragging())
        strip.fader->setPosition(s.gainPosition);
}

void UnderviewWindow::setScrollOffset(int offset)
{
    m_offset = std::clamp(offset, 0, TotalWidth);
    m_canvas->move(-m_offset, 0);
}

void UnderviewWindow::refreshFromModel()
{
    for (int c = 0; c < MaxChannels; ++c)
        showChannelControls(c);
    m_canvas->update();
}

QRect UnderviewWindow::channelRect(UnderviewLayout::ChannelPart part, int channel) const
{
    return m_layout.channelRect(part, channel).translated(-m_offset, 0);
}

QRect UnderviewWindow::unitRect(UnderviewLayout::UnitPart part, int unit) const
{
    return m_layout.unitRect(part, unit).translated(-m_offset, 0);
}

ToggleButton* UnderviewWindow::toggle(int channel, int kind) const
{
    if (!isValidChannel(channel))
        return nullptr;
    for (ToggleButton* button : m_strips[static_cast<std::size_t>(channel)].toggles)
        if (button->kind() == kind)
            return button;
    return nullptr;
}

GainFader* UnderviewWindow::fader(int channel) const
{
    return isValidChannel(channel) ? m_strips[static_cast<std::size_t>(channel)].fader : nullptr;
}

void UnderviewWindow::updateContent(const QRect& contentRect)
{
    if (!contentRect.isEmpty())
        m_canvas->update(contentRect);
}

void UnderviewWindow::paintContent(QPainter& p, const QRect& area)
{
    m_painter.paint(p, area);
}

void UnderviewWindow::contentPressed(const QPoint& at, Qt::MouseButton button)
{
    const int unit = at.x() / UnitWidth;
    if (unit < 0 || unit >= MaxUnits)
        return;
    if (button == Qt::RightButton && m_layout.unitRect(UnderviewLayout::UnitPart::UnitName, unit).contains(at)) {
        m_dialogs.openUnitName(unit + 1);
        return;
    }
    for (int c = unit * ChannelsPerUnit; c < (unit + 1) * ChannelsPerUnit; ++c) {
        const QRect meter = m_layout.channelRect(Part::RangeAndPeak, c);
        if (button == Qt::LeftButton) {
            if (QRect(meter.topLeft(), QSize(meter.width(), UnderviewLayout::ReadoutBoxPx)).contains(at)) {
                m_app.metering().resetReadout(c);
                return;
            }
            if (m_layout.channelRect(Part::SetLink, c).contains(at)) {
                m_app.channels().switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), c, 1);
                return;
            }
        } else if (button == Qt::RightButton) {
            if (m_layout.channelRect(Part::ChannelScribble, c).contains(at)) {
                m_app.channels().switchChanged(static_cast<int>(SwitchKind::ChannelTitle), c, 1);
                return;
            }
            if (meter.contains(at)) {
                m_dialogs.openMeterPreferences();
                return;
            }
        }
    }
}

void UnderviewWindow::channelChanged(int channel, ChannelAspect aspect)
{
    if (!isValidChannel(channel))
        return;
    showChannelControls(channel);
    switch (aspect) {
    case ChannelAspect::Gain: updateContent(m_layout.channelRect(Part::BigDB, channel)); break;
    case ChannelAspect::LinkGroup: updateContent(m_layout.channelRect(Part::SetLink, channel)); break;
    case ChannelAspect::Name: updateContent(m_layout.channelRect(Part::ChannelScribble, channel)); break;
    case ChannelAspect::Switches: break; // the switches repaint themselves
    }
}

void UnderviewWindow::allChannelsChanged()
{
    refreshFromModel();
}

void UnderviewWindow::unitNameChanged(int unit)
{
    updateContent(m_layout.unitRect(UnderviewLayout::UnitPart::UnitName, unit - 1));
}

void UnderviewWindow::meterPreferencesChanged()
{
    m_canvas->update();
}

void UnderviewWindow::projectReplaced()
{
    refreshFromModel();
}

void UnderviewWindow::meterChanged(int channel, const MeterState&)
{
    m_meterQueue->markChanged(channel);
}

// The numbers come back with each meter's next reading; the marks go now.
void UnderviewWindow::readoutMarksCleared()
{
    for (int c = 0; c < MaxChannels; ++c)
        m_meterQueue->markChanged(c);
}

} // namespace deskpanel
