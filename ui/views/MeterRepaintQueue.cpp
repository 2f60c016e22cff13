#include "ui/views/MeterRepaintQueue.h"

#include <QWidget>

namespace deskpanel {

MeterRepaintQueue::MeterRepaintQueue(QWidget& canvas, std::function<QRect(int)> meterArea)
    : m_canvas(canvas), m_meterArea(std::move(meterArea))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(FrameMs);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { flush(); });
}

// The part of the canvas its view shows, in canvas coordinates; nothing while hidden.
// (Asking Qt for the visible region would subtract every switch and fader of the canvas.)
QRect MeterRepaintQueue::visibleArea() const
{
    const QWidget* view = m_canvas.parentWidget();
    if (!m_canvas.isVisible() || view == nullptr)
        return {};
    return view->rect().translated(-m_canvas.pos()) & m_canvas.rect();
}

void MeterRepaintQueue::markChanged(int channel)
{
    if (!isValidChannel(channel) || !m_meterArea(channel).intersects(visibleArea()))
        return;
    m_pending.set(static_cast<std::size_t>(channel));
    if (!m_timer.isActive())
        m_timer.start();
}

void MeterRepaintQueue::flush()
{
    m_timer.stop();
    if (m_pending.none())
        return;
    const QRect visible = visibleArea();
    for (int channel = 0; channel < MaxChannels; ++channel) {
        if (!m_pending.test(static_cast<std::size_t>(channel)))
            continue;
        const QRect area = m_meterArea(channel) & visible;
        if (!area.isEmpty())
            m_canvas.update(area);
    }
    m_pending.reset();
}

} // namespace deskpanel
