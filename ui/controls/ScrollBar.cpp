#include "ui/controls/ScrollBar.h"

#include "ui/controls/ControlErrors.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/LostRelease.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace deskpanel {

namespace {
const QColor frameColour(76, 85, 118);
constexpr int holdDelayMs = 150;
constexpr int repeatMs = 100;
constexpr int hoverCheckMs = 50;

void frame(QPainter& p, const QRect& r)
{
    p.setPen(frameColour);
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}
} // namespace

ScrollBar::Look ScrollBar::lookFor(bool vertical)
{
    if (vertical)
        return {QStringLiteral("167"), QStringLiteral("223"), QStringLiteral("186"), QStringLiteral("169"),
                QStringLiteral("188")};
    return {QStringLiteral("166"), QStringLiteral("166"), QStringLiteral("177"), QStringLiteral("168"),
            QStringLiteral("181")};
}

ScrollBar* ScrollBar::createFromStatic(int style, QWidget* parent, QWidget* placeholder, int newId)
{
    if (!placeholder) {
        ControlErrors::trace("ERROR - failed to create CMyScrollBar\n");
        return nullptr;
    }
    const QRect rect = placeholder->geometry();
    placeholder->hide();
    return create(style, parent, rect, newId);
}

ScrollBar* ScrollBar::create(int style, QWidget* parent, const QRect& rect, int newId)
{
    if (!parent || rect.isEmpty()) {
        ControlErrors::trace("ERROR - failed to create CMyScrollBar\n");
        return nullptr;
    }
    auto* bar = new ScrollBar(parent, (style & Vertical) != 0, newId);
    bar->setGeometry(rect);
    bar->show();
    return bar;
}

ScrollBar::ScrollBar(QWidget* parent, bool vertical, int controlId)
    : QWidget(parent),
      m_controlId(controlId),
      m_vertical(vertical),
      m_look(lookFor(vertical)),
      m_drag(vertical ? Qt::Vertical : Qt::Horizontal)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    const ImageRegistry& images = ImageRegistry::instance();
    const QSize thumb = images.size(m_look.thumbSize);
    const QSize arrow = images.size(m_look.lineBack);
    if (thumb.isEmpty())
        ControlErrors::trace("ERROR - failed to load thumb bitmap\n");
    m_thumbLength = vertical ? thumb.height() : thumb.width();
    m_arrowLength = vertical ? arrow.height() : arrow.width();
    m_holdDelay.setSingleShot(true);
    connect(&m_holdDelay, &QTimer::timeout, this, &ScrollBar::startRepeat);
    m_repeat.setInterval(repeatMs);
    connect(&m_repeat, &QTimer::timeout, this, &ScrollBar::repeatTick);
    m_hoverCheck.setInterval(hoverCheckMs);
    connect(&m_hoverCheck, &QTimer::timeout, this, &ScrollBar::checkHover);
    placeThumb();
}

int ScrollBar::trackTravel() const
{
    return length() - 2 * m_arrowLength - m_thumbLength;
}

void ScrollBar::setScrollRange(int minimum, int maximum, bool redraw)
{
    m_minimum = minimum;
    m_maximum = maximum;
    m_range = int(std::min<long long>(std::llabs(static_cast<long long>(maximum) - minimum), INT_MAX));
    m_rangeSet = true;
    placeThumb();
    if (redraw)
        update();
}

void ScrollBar::setScrollPos(int position, bool redraw)
{
    m_position = std::clamp(position, 0, m_range);
    placeThumb();
    if (redraw)
        update();
}

// The thumb for the position. The position is kept across range changes, so the thumb is
// held inside the track even when the position lies beyond a shrunken range.
void ScrollBar::placeThumb()
{
    const int travel = std::max(0, trackTravel());
    const int range = m_range == 0 ? 1 : m_range;
    const long long offset = static_cast<long long>(m_position) * travel / range;
    const int start = int(std::clamp<long long>(offset, 0, travel)) + m_arrowLength;
    (m_vertical ? m_thumbTop : m_thumbLeft) = start;
}

int ScrollBar::positionFromPointer(const QPoint& pointer)
{
    const int travel = std::max(0, trackTravel());
    // The thumb is centred on the pointer, wherever on the thumb it was grabbed.
    const int start = std::clamp(m_drag.axis(pointer) - m_thumbLength / 2, m_arrowLength, m_arrowLength + travel);
    (m_vertical ? m_thumbTop : m_thumbLeft) = start;
    return DragTracker::valueAt(start - m_arrowLength, travel, m_range);
}

QRect ScrollBar::backArrowRect() const
{
    return m_vertical ? QRect(0, 0, width(), m_arrowLength) : QRect(0, 0, m_arrowLength, height());
}

QRect ScrollBar::forwardArrowRect() const
{
    return m_vertical ? QRect(0, height() - m_arrowLength, width(), m_arrowLength)
                      : QRect(width() - m_arrowLength, 0, m_arrowLength, height());
}

QRect ScrollBar::thumbRect() const
{
    return m_vertical ? QRect(0, m_thumbTop, width(), m_thumbLength) : QRect(m_thumbLeft, 0, m_thumbLength, height());
}

void ScrollBar::step(int delta)
{
    m_position = std::clamp(m_position + delta, 0, m_range);
    placeThumb();
    emit scrolled(delta < 0 ? LineLeft : LineRight, m_position);
    update();
}

void ScrollBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    if (m_rangeSet && thumbRect().contains(pos)) {
        m_drag.begin(m_thumbLength / 2);
    } else if (backArrowRect().contains(pos)) {
        m_backHeld = true;
        m_holdDelay.start(holdDelayMs);
    } else if (forwardArrowRect().contains(pos)) {
        m_forwardHeld = true;
        m_holdDelay.start(holdDelayMs);
    } else {
        // A click on the track pages: the thumb centre jumps to the pointer.
        const int oldStart = thumbStart();
        m_position = positionFromPointer(pos);
        emit scrolled(m_drag.axis(pos) < oldStart ? PageLeft : PageRight, m_position);
    }
    update();
}

void ScrollBar::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_drag.active())
        return;
    m_position = positionFromPointer(event->position().toPoint());
    emit scrolled(ThumbTrack, m_position);
    update();
}

void ScrollBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_repeat.stop();
    m_holdDelay.stop();
    const QPoint pos = event->position().toPoint();
    if (backArrowRect().contains(pos))
        step(-1);
    else if (forwardArrowRect().contains(pos))
        step(+1);
    stopGesture();
}

// A release taken by a box, or lost with the window, stops the arrow repeat and the
// thumb drag as a release would.
bool ScrollBar::event(QEvent* event)
{
    if ((m_drag.active() || m_backHeld || m_forwardHeld) && leftButtonReleaseLost(event))
        stopGesture();
    return QWidget::event(event);
}

void ScrollBar::stopGesture()
{
    m_repeat.stop();
    m_holdDelay.stop();
    m_backHeld = m_forwardHeld = false;
    m_drag.end();
    update();
}

void ScrollBar::startRepeat()
{
    if (m_backHeld || m_forwardHeld)
        m_repeat.start();
}

void ScrollBar::repeatTick()
{
    if (m_backHeld)
        step(-1);
    else if (m_forwardHeld)
        step(+1);
    else
        m_repeat.stop();
}

void ScrollBar::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    m_hovering = true;
    setCursor(Qt::PointingHandCursor);
    m_hoverCheck.start();
    update();
}

void ScrollBar::checkHover()
{
    if (rect().contains(mapFromGlobal(QCursor::pos())))
        return;
    m_hoverCheck.stop();
    m_hovering = false;
    setCursor(Qt::ArrowCursor);
    update();
}

// A bar that disappears mid-gesture must not go on scrolling.
void ScrollBar::hideEvent(QHideEvent* event)
{
    stopGesture();
    m_hoverCheck.stop();
    m_hovering = false;
    QWidget::hideEvent(event);
}

void ScrollBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    placeThumb();
}

void ScrollBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(28, 34, 48));
    if (m_vertical)
        drawVertical(p);
    else
        drawHorizontal(p);
}

void ScrollBar::drawHorizontal(QPainter& p)
{
    const ImageRegistry& images = ImageRegistry::instance();
    const int a = m_arrowLength;
    const QRect left(0, 1, a, height() - 2);
    images.draw(p, m_look.lineBack, left);
    frame(p, left);
    images.drawColumnStretched(p, m_look.track, 0, QRect(a, 0, width() - 2 * a, height()));
    const QRect right(width() - a, 1, a, height() - 2);
    images.draw(p, m_look.lineForward, right);
    frame(p, right);
    if (m_rangeSet)
        images.draw(p, m_look.thumb, thumbRect());
    frame(p, rect());
}

void ScrollBar::drawVertical(QPainter& p)
{
    const ImageRegistry& images = ImageRegistry::instance();
    const int a = m_arrowLength;
    const QRect up(1, 0, width() - 2, a);
    images.draw(p, m_look.lineBack, up);
    frame(p, up);
    // The vertical track image is stretched from its first row.
    const QPixmap track = images.pixmap(m_look.track, p.device()->devicePixelRatioF());
    if (!track.isNull())
        p.drawPixmap(QRectF(0, a, width(), height() - 2 * a), track,
                     QRectF(0, 0, track.width(), track.devicePixelRatio()));
    const QRect down(1, height() - a, width() - 2, a);
    images.draw(p, m_look.lineForward, down);
    frame(p, down);
    if (m_rangeSet)
        images.draw(p, m_look.thumb, thumbRect());
    frame(p, rect());
}

std::optional<int> ScrollBar::target(int code, int position, int current, int line, int page, int maximum)
{
    switch (code) {
    case LineLeft: return current - line;
    case LineRight: return current + line;
    case PageLeft: return current - page;
    case PageRight: return current + page;
    case ThumbPosition:
    case ThumbTrack: return position;
    case Left: return 0;
    case Right: return maximum;
    default: return std::nullopt;
    }
}

} // namespace deskpanel
