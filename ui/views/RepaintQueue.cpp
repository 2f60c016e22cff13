#include "ui/views/RepaintQueue.h"

#include <QWidget>

#include <algorithm>

namespace deskpanel {

RepaintQueue::RepaintQueue(QWidget& canvas, std::function<QRect(int)> meterArea)
    : m_canvas(canvas), m_meterArea(std::move(meterArea))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(FrameMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { flush(); });
}

// The part of the canvas its view shows, in canvas coordinates; nothing while hidden.
// (Asking Qt for the visible region would subtract every switch and fader of the canvas.)
QRect RepaintQueue::visibleArea() const
{
    const QWidget* view = m_canvas.parentWidget();
    if (!m_canvas.isVisible() || view == nullptr)
        return {};
    return view->rect().translated(-m_canvas.pos()) & m_canvas.rect();
}

void RepaintQueue::waitForFrame()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void RepaintQueue::markMeter(int channel, const MeterState& state)
{
    if (!isValidChannel(channel))
        return;
    // Kept in or out of sight: what comes into sight is painted from the model anyway,
    // and the next reading is weighed against what the meter shows.
    const auto index = static_cast<std::size_t>(channel);
    if (m_meterStateKnown.test(index) && m_meterStates[index] == state)
        return;
    m_meterStates[index] = state;
    m_meterStateKnown.set(index);
    markMeterPicture(channel);
}

void RepaintQueue::markMeterPicture(int channel)
{
    if (!isValidChannel(channel) || !m_meterArea(channel).intersects(visibleArea()))
        return;
    m_meters.set(static_cast<std::size_t>(channel));
    waitForFrame();
}

void RepaintQueue::markArea(const QRect& area)
{
    if (m_wholeView || !area.intersects(visibleArea()))
        return;
    // A fader's thumb moved again overlaps where it moved before: one area for both.
    const auto overlapping =
        std::find_if(m_areas.begin(), m_areas.end(), [&](const QRect& a) { return a.intersects(area); });
    if (overlapping != m_areas.end())
        *overlapping |= area;
    else
        m_areas.push_back(area);
    if (m_areas.size() > MaxAreas) {
        m_areas.clear();
        m_wholeView = true;
    }
    waitForFrame();
}

// As an area of the canvas: the canvas then repaints it with everything on it in one
// pass, where a control's own update would be painted in a pass of its own.
void RepaintQueue::repaintLater(QWidget& control, const QRect& area)
{
    markArea((area.isEmpty() ? control.rect() : area).translated(control.pos()));
}

void RepaintQueue::flush()
{
    m_timer.stop();
    const QRect visible = visibleArea();
    if (!visible.isEmpty()) {
        if (m_wholeView)
            m_canvas.update(visible);
        for (const QRect& area : m_areas)
            m_canvas.update(area & visible);
        for (int channel = 0; channel < MaxChannels; ++channel)
            if (m_meters.test(static_cast<std::size_t>(channel)))
                m_canvas.update(m_meterArea(channel) & visible);
    }
    m_meters.reset();
    m_areas.clear();
    m_wholeView = false;
}

} // namespace deskpanel
