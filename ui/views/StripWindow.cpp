#include "ui/views/StripWindow.h"

#include "app/DeskPanelApp.h"
#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/PartButton.h"
#include "ui/controls/ToggleButton.h"
#include "ui/dialogs/DialogLauncher.h"
#include "ui/views/MeterPainter.h"
#include "ui/views/OverviewLayout.h"
#include "ui/views/OverviewPainter.h"
#include "ui/views/RepaintQueue.h"
#include "ui/views/UnderviewLayout.h"
#include "ui/views/UnderviewPainter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QPointer>

#include <algorithm>

namespace deskpanel {
namespace {

// How a strip hands its controls' reports to the channel control: a switch press (or a
// drag across switches of its kind) is a switch change; a fader's grab, moves (with Alt,
// a move of the one channel) and release are the fader operations; a fader does not go
// above position 11 while the reduced gain range is in force.
//
// Switching 48 V on asks the 48 V guard once per gesture, at the press: No leaves the
// switch off and starts no drag; Yes carries over the switches the drag then reaches.
void wireSwitch(ToggleButton* button, ChannelControl& channels)
{
    button->setPressGuard([&channels](int channel, int kind, int value) {
        if (kind != ToggleButton::Phantom || value == 0 || channels.settings(channel).phantom48V != 0)
            return true;
        return channels.confirmPhantomOn({channel});
    });
    QObject::connect(button, &ToggleButton::switchCommand, button, [&channels](int channel, int kind, int value) {
        channels.switchChanged(kind, channel, value, ChannelControl::PhantomConfirmation::Given);
    });
}

// A move may be limited, dropped or refused, and then no view update reaches the fader
// being dragged: after every move and on release it is put to the channel's stored
// position, so the thumb and the gain text never disagree.
void wireFader(GainFader* fader, ChannelControl& channels)
{
    fader->setReducedRangeQuery([&channels] { return channels.reducedGainRange(); });
    const auto showStored = [&channels](QPointer<GainFader> f, int c) {
        if (f)
            f->setPosition(channels.settings(c).gainPosition);
    };
    QObject::connect(fader, &GainFader::grabbed, fader, [&channels](int c) { channels.faderGrabbed(c); });
    QObject::connect(fader, &GainFader::moved, fader, [&channels, showStored, fader](int c, int position, bool alt) {
        const QPointer<GainFader> guard(fader); // a box opened by a failed send may outlive it
        channels.faderMoved(c, position, alt);
        showStored(guard, c);
    });
    QObject::connect(fader, &GainFader::released, fader, [&channels, showStored, fader](int c) {
        const QPointer<GainFader> guard(fader);
        channels.faderReleased(c);
        showStored(guard, c);
    });
}

// Qt rebuilds the region of a widget's opaque children whenever it moves; with some two
// thousand switches and faders on a canvas that made every scroll slow. The canvas paints
// under its controls instead (a few pictures each), so a scroll stays cheap.
void keepOutOfOpaqueRegion(QWidget* control)
{
    control->setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QString switchCaption(int kind)
{
    switch (kind) {
    case ToggleButton::Pol: return QStringLiteral("Polarity");
    case ToggleButton::Pad: return QStringLiteral("Pad");
    case ToggleButton::Phantom: return QStringLiteral("48V");
    case ToggleButton::Mute: return QStringLiteral("Mute");
    case ToggleButton::Link: return QStringLiteral("Link");
    default: return {};
    }
}

// Qt's own setAccessibleName would tell assistive technology at once, some two thousand
// times on a recall; the label's change goes with the rest of the news.
void setNameOnChange(QWidget* widget, const QString& name)
{
    AccessibleNotifier::setAccessibleLabel(widget, name);
}

// A meter's last reading in dB, read back from where it lies on the scale; an empty or
// silent meter reads the bottom of the scale.
double meterLevelDb(const MeterScaleTable& table, const MeterState& meter)
{
    const int s = meter.position.segment;
    if (meter.silent || s >= MeterSegmentCount)
        return table.bottomDb();
    if (s < 0)
        return table.topDb();
    const auto& t = table.thresholdsDb;
    const double upper = t[static_cast<std::size_t>(s)];
    const double lower = t[static_cast<std::size_t>(s) + 1];
    return upper - meter.position.fraction * (upper - lower);
}

} // namespace

template <class Layout, class Painter>
StripWindow<Layout, Painter>::StripWindow(DeskPanelApp& app, DialogLauncher& dialogs, const Faces& faces,
                                          QSize contentSize, QWidget* parent)
    : StripView(parent),
      m_app(app),
      m_dialogs(dialogs),
      m_faces(faces),
      m_contentSize(contentSize),
      m_painter(app),
      m_canvas(new StripCanvas(*this, this))
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Painter::Background);
    setPalette(p);
    m_canvas->setGeometry(QRect(QPoint(0, 0), m_contentSize));
    m_repaints = std::make_unique<RepaintQueue>(*m_canvas, [this](int c) {
        return MeterPainter::paintedArea(m_layout.channelRect(ChannelPart::RangeAndPeak, c));
    });

    if (!ImageRegistry::instance().contains(QString::fromLatin1(m_faces.faderThumb)))
        m_app.operatorPort().message("ERROR - failed to Load thumb bitmap");
    for (int c = 0; c < MaxChannels; ++c) {
        if (c % ChannelsPerUnit == 0)
            createUnitTitle(c / ChannelsPerUnit);
        createStrip(c);
    }
    for (int c = 0; c < MaxChannels; ++c)
        showChannelControls(c);

    m_app.channels().addListener(this);
    m_app.scenes().addChannelListener(this);
    m_app.metering().setListener(m_faces.meterView, this);
}

template <class Layout, class Painter>
StripWindow<Layout, Painter>::~StripWindow()
{
    m_app.metering().setListener(m_faces.meterView, nullptr);
    m_app.scenes().removeChannelListener(this);
    m_app.channels().removeListener(this);
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::createStrip(int channel)
{
    Strip& strip = m_strips[static_cast<std::size_t>(channel)];
    for (std::size_t i = 0; i < m_faces.switches.size(); ++i) {
        const SwitchFace& face = m_faces.switches[i];
        ToggleButton* button =
            ToggleButton::create(m_canvas, face.baseId, channel, QString::fromLatin1(face.off),
                                 QString::fromLatin1(face.on), m_layout.channelRect(face.part, channel));
        wireSwitch(button, m_app.channels());
        QObject::connect(button, &ToggleButton::focused, button,
                         [this](int c) { m_app.channels().setCurrentChannel(c); });
        keepOutOfOpaqueRegion(button);
        button->setRepaintScheduler(m_repaints.get());
        strip.toggles[i] = button;
    }
    GainFader* fader =
        GainFader::create(m_canvas, m_layout.channelRect(m_faces.faderPart, channel), channel,
                          QString::fromLatin1(m_faces.faderTrack), QString::fromLatin1(m_faces.faderThumb));
    wireFader(fader, m_app.channels());
    QObject::connect(fader, &GainFader::focused, fader, [this](int c) { m_app.channels().setCurrentChannel(c); });
    keepOutOfOpaqueRegion(fader);
    fader->setRepaintScheduler(m_repaints.get());
    strip.fader = fader;

    // The painted fields that a click opens, as Tab stops after the fader: Enter opens the
    // link group pop-up and the title dialog as the clicks do.
    ChannelControl& channels = m_app.channels();
    strip.link =
        new PartButton(m_canvas, m_layout.channelRect(ChannelPart::SetLink, channel), channel, [&channels, channel] {
            channels.switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), channel, 1);
        });
    if (m_faces.titlePart)
        strip.title =
            new PartButton(m_canvas, m_layout.channelRect(*m_faces.titlePart, channel), channel, [&channels, channel] {
                channels.switchChanged(static_cast<int>(SwitchKind::ChannelTitle), channel, 1);
            });
    for (PartButton* part : {strip.link, strip.title}) {
        if (!part)
            continue;
        QObject::connect(part, &PartButton::focused, part, [&channels](int c) { channels.setCurrentChannel(c); });
    }
    strip.link->setDescription(QString::fromStdString(linkGroupLabel(channels.settings(channel).linkGroup)));
    nameChannelControls(channel);
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::createUnitTitle(int unit)
{
    DialogLauncher& dialogs = m_dialogs;
    m_unitTitles[static_cast<std::size_t>(unit)] =
        new PartButton(m_canvas, m_layout.unitRect(UnitPart::UnitName, unit), -1,
                       [&dialogs, unit] { dialogs.openUnitName(unit + 1); });
    nameUnitTitle(unit);
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::nameUnitTitle(int unit)
{
    setNameOnChange(m_unitTitles[static_cast<std::size_t>(unit)],
                    QString::fromStdString(m_app.project().units[static_cast<std::size_t>(unit)].name));
}

template <class Layout, class Painter>
QString StripWindow<Layout, Painter>::channelLabel(int channel) const
{
    const std::string& title = m_app.project().channels[static_cast<std::size_t>(channel)].name;
    return QStringLiteral("Channel %1, %2").arg(channel + 1).arg(QString::fromStdString(title));
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::nameChannelControls(int channel)
{
    const QString label = channelLabel(channel);
    Strip& strip = m_strips[static_cast<std::size_t>(channel)];
    for (std::size_t i = 0; i < m_faces.switches.size(); ++i)
        setNameOnChange(strip.toggles[i], label + QStringLiteral(": ") + switchCaption(strip.toggles[i]->kind()));
    setNameOnChange(strip.fader, label + QStringLiteral(": gain"));
    setNameOnChange(strip.link, label + QStringLiteral(": link group"));
    if (strip.title)
        setNameOnChange(strip.title,
                        QString::fromStdString(m_app.project().channels[static_cast<std::size_t>(channel)].name));
}

template <class Layout, class Painter>
PaintedPart StripWindow<Layout, Painter>::paintedPart(int channel) const
{
    PaintedPart part;
    if (!isValidChannel(channel))
        return part;
    const MeterScale scale = m_app.metering().scale();
    part.role = QAccessible::ProgressBar;
    part.name = channelLabel(channel) + QStringLiteral(": level");
    part.rect = m_layout.channelRect(ChannelPart::RangeAndPeak, channel);
    part.hasValue = true;
    part.value = meterLevelDb(scale.table(), m_app.metering().meter(m_faces.meterView, channel));
    part.minimum = scale.table().bottomDb();
    part.maximum = scale.table().topDb();
    return part;
}

// Ctrl+Tab and Ctrl+Shift+Tab: the same control of the next or previous unit.
template <class Layout, class Painter>
bool StripWindow<Layout, Painter>::contentKey(QKeyEvent* event)
{
    const bool next = event->key() == Qt::Key_Tab;
    if ((!next && event->key() != Qt::Key_Backtab) || !(event->modifiers() & Qt::ControlModifier))
        return false;
    QWidget* focused = QApplication::focusWidget();
    const int step = next ? ChannelsPerUnit : -ChannelsPerUnit;
    QWidget* target = nullptr;
    if (auto* t = qobject_cast<ToggleButton*>(focused))
        target = toggle(t->channel() + step, t->kind());
    else if (auto* f = qobject_cast<GainFader*>(focused))
        target = fader(f->channel() + step);
    if (target)
        target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::showChannelControls(int channel)
{
    const ChannelSettings& s = m_app.channels().settings(channel);
    Strip& strip = m_strips[static_cast<std::size_t>(channel)];
    for (std::size_t i = 0; i < m_faces.switches.size(); ++i)
        strip.toggles[i]->setState(s.*m_faces.switches[i].state);
    if (!strip.fader->isDragging())
        strip.fader->setPosition(s.gainPosition);
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::setScrollOffset(int offset)
{
    m_offset = std::clamp(offset, 0, contentLength());
    m_canvas->move(contentShift());
}

template <class Layout, class Painter>
QPoint StripWindow<Layout, Painter>::contentShift() const
{
    return m_faces.scrollAxis == Qt::Vertical ? QPoint(0, -m_offset) : QPoint(-m_offset, 0);
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::refreshFromModel()
{
    for (int c = 0; c < MaxChannels; ++c) {
        showChannelControls(c);
        nameChannelControls(c);
        m_strips[static_cast<std::size_t>(c)].link->setDescription(
            QString::fromStdString(linkGroupLabel(m_app.channels().settings(c).linkGroup)));
    }
    for (int u = 0; u < MaxUnits; ++u)
        nameUnitTitle(u);
    m_repaints->markArea(m_canvas->rect());
}

template <class Layout, class Painter>
QRect StripWindow<Layout, Painter>::channelRect(ChannelPart part, int channel) const
{
    return m_layout.channelRect(part, channel).translated(contentShift());
}

template <class Layout, class Painter>
QRect StripWindow<Layout, Painter>::unitRect(UnitPart part, int unit) const
{
    return m_layout.unitRect(part, unit).translated(contentShift());
}

template <class Layout, class Painter>
ToggleButton* StripWindow<Layout, Painter>::toggle(int channel, int kind) const
{
    if (!isValidChannel(channel))
        return nullptr;
    const Strip& strip = m_strips[static_cast<std::size_t>(channel)];
    for (std::size_t i = 0; i < m_faces.switches.size(); ++i)
        if (strip.toggles[i]->kind() == kind)
            return strip.toggles[i];
    return nullptr;
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::updateContent(const QRect& contentRect)
{
    if (!contentRect.isEmpty())
        m_repaints->markArea(contentRect);
}

// What the canvas would paint under a fader is never seen: a fader's moving thumb then
// costs only the fader's own paint.
template <class Layout, class Painter>
void StripWindow<Layout, Painter>::paintContent(QPainter& p, const QRect& area)
{
    if (!underFader(area))
        m_painter.paint(p, area);
}

template <class Layout, class Painter>
bool StripWindow<Layout, Painter>::underFader(const QRect& area) const
{
    const int unit = unitAt(area.topLeft());
    if (unit < 0 || unit >= MaxUnits)
        return false;
    for (int c = unit * ChannelsPerUnit; c < (unit + 1) * ChannelsPerUnit; ++c) {
        const GainFader* f = m_strips[static_cast<std::size_t>(c)].fader;
        if (!f->isHidden() && f->geometry().contains(area))
            return true;
    }
    return false;
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::contentPressed(const QPoint& at, Qt::MouseButton button)
{
    const int unit = unitAt(at);
    if (unit < 0 || unit >= MaxUnits)
        return;
    if (button == Qt::RightButton && m_layout.unitRect(UnitPart::UnitName, unit).contains(at)) {
        m_dialogs.openUnitName(unit + 1);
        return;
    }
    for (int c = unit * ChannelsPerUnit; c < (unit + 1) * ChannelsPerUnit; ++c) {
        if (stripPressed(c, at, button))
            return;
        if (button == Qt::LeftButton && m_layout.channelRect(ChannelPart::SetLink, c).contains(at)) {
            m_app.channels().switchChanged(static_cast<int>(SwitchKind::LinkGroupPopup), c, 1);
            return;
        }
        if (button == Qt::RightButton && m_layout.channelRect(ChannelPart::RangeAndPeak, c).contains(at)) {
            m_dialogs.openMeterPreferences();
            return;
        }
    }
}

template <class Layout, class Painter>
QRect StripWindow<Layout, Painter>::aspectArea(int channel, ChannelAspect aspect) const
{
    switch (aspect) {
    case ChannelAspect::Gain: return m_layout.channelRect(ChannelPart::BigDB, channel);
    case ChannelAspect::LinkGroup: return m_layout.channelRect(ChannelPart::SetLink, channel);
    case ChannelAspect::Switches: break; // the switches repaint themselves
    case ChannelAspect::Name: break;
    }
    return {};
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::channelChanged(int channel, ChannelAspect aspect)
{
    if (!isValidChannel(channel))
        return;
    showChannelControls(channel);
    updateContent(aspectArea(channel, aspect));
    if (aspect == ChannelAspect::Name)
        nameChannelControls(channel);
    if (aspect == ChannelAspect::LinkGroup)
        m_strips[static_cast<std::size_t>(channel)].link->setDescription(
            QString::fromStdString(linkGroupLabel(m_app.channels().settings(channel).linkGroup)));
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::unitNameChanged(int unit)
{
    updateContent(m_layout.unitRect(UnitPart::UnitName, unit - 1));
    if (unit >= 1 && unit <= MaxUnits)
        nameUnitTitle(unit - 1);
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::meterChanged(int channel, const MeterState& meter)
{
    m_repaints->markMeter(channel, meter);
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::meterPreferencesChanged()
{
    m_repaints->markArea(m_canvas->rect());
}

template <class Layout, class Painter>
void StripWindow<Layout, Painter>::markAllMetersChanged()
{
    for (int c = 0; c < MaxChannels; ++c)
        m_repaints->markMeterPicture(c);
}

template class StripWindow<OverviewLayout, OverviewPainter>;
template class StripWindow<UnderviewLayout, UnderviewPainter>;

} // namespace deskpanel
