#include "ui/controls/GainFader.h"

#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/FocusRing.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/KeyboardFocus.h"
#include "ui/controls/LostRelease.h"

#include <QMouseEvent>
#include <QPainter>

namespace deskpanel {

int GainFader::s_activeCount = 0;

GainFader* GainFader::create(QWidget* parent, const QRect& rect, int channel, const QString& track,
                             const QString& thumb)
{
    if (!parent || rect.isEmpty())
        return nullptr;
    auto* slider = new GainFader(parent, channel, track, thumb);
    slider->setGeometry(rect);
    slider->show();
    return slider;
}

GainFader::GainFader(QWidget* parent, int channel, const QString& track, const QString& thumb)
    : QWidget(parent), m_channel(channel), m_track(track), m_thumb(thumb)
{
    setObjectName(QStringLiteral("slider%1").arg(30000 + channel));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    m_thumbHeight = ImageRegistry::instance().size(thumb).height();
}

GainFader::~GainFader()
{
    if (m_drag.active())
        endDrag();
}

int GainFader::thumbTop() const
{
    const int travel = height() - m_thumbHeight;
    const int top = travel * m_position / MaxPosition;
    return std::clamp(top, 0, std::max(0, travel));
}

QRect GainFader::thumbRect() const
{
    return QRect(0, thumbTop(), width(), m_thumbHeight);
}

void GainFader::setPosition(int position)
{
    const int p = std::clamp(position, 0, MaxPosition);
    if (p == m_position)
        return;
    // Only where the thumb was and where it is now.
    const QRect before = thumbRect();
    m_position = p;
    repaintValue(m_repaints, *this, before.united(thumbRect()));
    AccessibleNotifier::valueChanged(this);
}

void GainFader::moveTo(int position)
{
    if (m_drag.active())
        return;
    int p = std::clamp(position, 0, MaxPosition);
    if (reducedRange())
        p = std::max(p, ReducedRangeFloor);
    emit grabbed(m_channel);
    setPosition(p);
    emit moved(m_channel, p, false);
    emit released(m_channel);
}

void GainFader::focusInEvent(QFocusEvent* event)
{
    update();
    if (KeyboardFocus::reachedByKeyboard(event, this))
        emit focused(m_channel);
    QWidget::focusInEvent(event);
}

void GainFader::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void GainFader::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(80, 96, 128));
    const ImageRegistry& images = ImageRegistry::instance();
    images.draw(p, m_track, rect());
    images.draw(p, m_thumb, thumbRect());
    if (hasFocus())
        drawFocusRing(p, rect());
}

void GainFader::mousePressEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (event->button() != Qt::LeftButton || m_drag.active() || !thumbRect().contains(pos))
        return;
    m_drag.begin(pos.y() - thumbTop());
    ++s_activeCount;
    emit grabbed(m_channel);
}

void GainFader::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (!m_drag.active()) {
        setCursor(thumbRect().contains(pos) ? Qt::PointingHandCursor : Qt::ArrowCursor);
        return;
    }
    // Beyond the ends of the fader the last position stands. A fader too short for its
    // thumb has no travel and stays where it is rather than jump to full gain.
    if (pos.y() < 0 || pos.y() > height() || height() <= m_thumbHeight)
        return;
    int p = DragTracker::valueAt(m_drag.thumbStart(pos), height() - m_thumbHeight, MaxPosition);
    if (reducedRange())
        p = std::max(p, ReducedRangeFloor);
    setPosition(p);
    emit moved(m_channel, p, (event->modifiers() & Qt::AltModifier) != 0);
}

void GainFader::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_drag.active())
        letGo();
}

// A release that went elsewhere (to a box opened during the drag) ends the drag here,
// before the event is handled: a later hover must not move the gain.
bool GainFader::event(QEvent* event)
{
    if (m_drag.active() && leftButtonReleaseLost(event))
        letGo();
    return QWidget::event(event);
}

void GainFader::letGo()
{
    endDrag();
    emit released(m_channel);
}

void GainFader::endDrag()
{
    m_drag.end();
    --s_activeCount;
}

// A fader hidden while held lets go, so the program-wide drag flag cannot stay raised.
void GainFader::hideEvent(QHideEvent* event)
{
    if (m_drag.active())
        letGo();
    QWidget::hideEvent(event);
}

} // namespace deskpanel
