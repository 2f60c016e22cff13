#include "ui/views/UnitStatusWindow.h"

#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/FocusRing.h"
#include "ui/controls/FontMapper.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/ScrollBar.h"

#include <QAccessible>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace deskpanel {

namespace {
// The notice reads as a note pinned over the panel: dark text on a pale amber ground.
const QColor NoticeGround(255, 241, 200);
const QColor NoticeText(80, 52, 0);
constexpr int NoticeMargin = 6;

QString pictureKey(UnitPicture picture)
{
    switch (picture) {
    case UnitPicture::Active: return QStringLiteral("ACTIVE_UNIT_BOXED");
    case UnitPicture::Offline: return QStringLiteral("OFFLINE_UNIT_BOXED");
    case UnitPicture::Conflicted: return QStringLiteral("CONFLICTED_UNIT_BOXED");
    case UnitPicture::Fault: return QStringLiteral("FAULT_UNIT_BOXED");
    case UnitPicture::Inactive: break;
    }
    return QStringLiteral("INACTIVE_UNIT_BOXED");
}
} // namespace

UnitStatusWindow::UnitStatusWindow(int unitNumberTop, int dpiY, QWidget* parent)
    : QWidget(parent), m_unitNumberTop(unitNumberTop)
{
    m_states.fill(UnitState::INACTIVE);
    m_blinkPictures.fill(pictureForState(UnitState::LOCAL));
    // The panel's small font: Arial 8 pt.
    m_font = FontMapper::font(QStringLiteral("Arial"), 80, 400, dpiY);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(QStringLiteral("Units"));
}

void UnitStatusWindow::setUnitState(int unit, UnitState state)
{
    if (!isValidUnitNumber(unit))
        return;
    m_states[std::size_t(unit - 1)] = state;
    // A unit that turns LOCAL starts its blink on the picture of the state.
    m_blinkPictures[std::size_t(unit - 1)] = pictureForState(UnitState::LOCAL);
    updateBox(unit);
    AccessibleNotifier::descriptionChanged(this, unit - 1);
}

void UnitStatusWindow::setBlinkPicture(int unit, UnitPicture picture)
{
    if (!isValidUnitNumber(unit))
        return;
    m_blinkPictures[std::size_t(unit - 1)] = picture;
    updateBox(unit);
}

UnitState UnitStatusWindow::stateOf(int unit) const
{
    return m_states.at(std::size_t(unit - 1));
}

UnitPicture UnitStatusWindow::pictureOf(int unit) const
{
    const UnitState state = stateOf(unit);
    return state == UnitState::LOCAL ? m_blinkPictures.at(std::size_t(unit - 1)) : pictureForState(state);
}

void UnitStatusWindow::updateBox(int unit)
{
    update(boxRect(unit).translated(0, -m_scroll * BoxHeight));
}

QRect UnitStatusWindow::boxRect(int unit)
{
    const int c = (unit - 1) % Columns;
    const int r = (unit - 1) / Columns;
    return QRect(QPoint(BoxWidth * c + 1, BoxHeight * r + 1), QPoint(BoxWidth * c + 115, BoxHeight * r + 35));
}

int UnitStatusWindow::unitAt(const QPoint& point) const
{
    if (noticeRect().contains(point))
        return 0; // the notice is in front of the boxes
    const QPoint content = point + QPoint(0, m_scroll * BoxHeight);
    for (int unit = 1; unit <= MaxUnits; ++unit)
        if (boxRect(unit).contains(content))
            return unit;
    return 0;
}

int UnitStatusWindow::scroll(int code, int thumbPosition)
{
    int next = m_scroll;
    switch (code) {
    case ScrollBar::LineUp: next -= 1; break;
    case ScrollBar::LineDown: next += 1; break;
    case ScrollBar::PageUp: next -= 3; break;
    case ScrollBar::PageDown: next += 3; break;
    case ScrollBar::ThumbPosition:
    case ScrollBar::ThumbTrack: next = thumbPosition; break;
    case ScrollBar::Top: next = 0; break;
    case ScrollBar::Bottom: next = MaxScroll; break;
    default: break;
    }
    next = std::clamp(next, 0, MaxScroll);
    if (next != m_scroll) {
        m_scroll = next;
        update();
    }
    return m_scroll;
}

void UnitStatusWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.translate(0, -m_scroll * BoxHeight);
    p.setFont(m_font);
    const ImageRegistry& images = ImageRegistry::instance();
    for (int unit = 1; unit <= MaxUnits; ++unit) {
        const QRect box = boxRect(unit);
        const QString key = pictureKey(pictureOf(unit));
        const QRect picture(box.topLeft() + QPoint(3, 4), images.size(key));
        images.draw(p, key, picture, ImageRegistry::DrawMode::Fixed);
        // The number on an opaque white ground, so it reads on every picture.
        const QString number = QString::number(unit);
        const QRect text = p.fontMetrics().boundingRect(number);
        const QRect ground(picture.left() + 6, picture.top() + m_unitNumberTop, text.width() + 2, text.height());
        p.fillRect(ground, Qt::white);
        p.setPen(QColor(64, 64, 64));
        p.drawText(ground, Qt::AlignCenter, number);
    }
    if (hasFocus())
        drawFocusRing(p, boxRect(m_focusUnit));
    if (!m_notice.isEmpty()) {
        p.resetTransform();
        const QRect band = noticeRect();
        p.fillRect(band, NoticeGround);
        p.setPen(NoticeText);
        p.drawText(band.adjusted(NoticeMargin, 0, -NoticeMargin, 0), Qt::AlignCenter | Qt::TextWordWrap, m_notice);
    }
}

void UnitStatusWindow::setNotice(const QString& notice)
{
    if (notice == m_notice)
        return;
    update(noticeRect());
    m_notice = notice;
    update(noticeRect());
    setAccessibleDescription(notice);
    AccessibleNotifier::descriptionChanged(this);
}

QRect UnitStatusWindow::noticeRect() const
{
    if (m_notice.isEmpty())
        return {};
    // Only the part of the panel its window shows: a narrow window cuts off the right of
    // the panel, and the words must not go with it.
    const QRect shown = visibleRegion().boundingRect();
    const int left = shown.isEmpty() ? 0 : shown.left();
    const int bandWidth = shown.isEmpty() ? width() : shown.width();
    const QFontMetrics metrics(m_font);
    const QRect text = metrics.boundingRect(QRect(0, 0, std::max(1, bandWidth - 2 * NoticeMargin), height()),
                                            Qt::AlignCenter | Qt::TextWordWrap, m_notice);
    const int bandHeight = std::min(height(), text.height() + NoticeMargin);
    return QRect(left, height() - bandHeight, bandWidth, bandHeight);
}

PaintedPart UnitStatusWindow::paintedPart(int index) const
{
    PaintedPart part;
    const int unit = index + 1;
    if (!isValidUnitNumber(unit))
        return part;
    part.name = QStringLiteral("Unit %1").arg(unit);
    part.description = QString::fromLatin1(unitStateName(stateOf(unit)));
    part.rect = boxRect(unit).translated(0, -m_scroll * BoxHeight);
    part.pressable = true;
    return part;
}

void UnitStatusWindow::pressPaintedPart(int index)
{
    if (isValidUnitNumber(index + 1) && onUnitClicked)
        onUnitClicked(index + 1);
}

// The panel is one Tab stop: the arrows move inside it, Left and Right by unit, Up and
// Down by row, Home and End to the ends. Space is a click, Enter a double click.
void UnitStatusWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() != Qt::NoModifier && event->modifiers() != Qt::KeypadModifier) {
        event->ignore();
        return;
    }
    int target = 0;
    switch (event->key()) {
    case Qt::Key_Left: target = m_focusUnit - 1; break;
    case Qt::Key_Right: target = m_focusUnit + 1; break;
    case Qt::Key_Up: target = m_focusUnit - Columns; break;
    case Qt::Key_Down: target = m_focusUnit + Columns; break;
    case Qt::Key_Home: target = 1; break;
    case Qt::Key_End: target = MaxUnits; break;
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            pressPaintedPart(m_focusUnit - 1);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!event->isAutoRepeat() && onUnitDoubleClicked)
            onUnitDoubleClicked(m_focusUnit);
        return;
    default: event->ignore(); return;
    }
    // At an edge the ring stays where it is.
    if (isValidUnitNumber(target) && target != m_focusUnit)
        focusUnit(target);
}

// The panel comes back to the box it had.
void UnitStatusWindow::focusInEvent(QFocusEvent* event)
{
    focusUnit(m_focusUnit);
    QWidget::focusInEvent(event);
}

void UnitStatusWindow::focusOutEvent(QFocusEvent* event)
{
    updateBox(m_focusUnit);
    QWidget::focusOutEvent(event);
}

// Moves the ring and scrolls by rows until the box is in sight.
void UnitStatusWindow::focusUnit(int unit)
{
    updateBox(m_focusUnit);
    m_focusUnit = unit;
    const int row = (unit - 1) / Columns;
    const int rowsShown = std::max(1, height() / BoxHeight);
    int top = m_scroll;
    if (row < top)
        top = row;
    else if (row >= top + rowsShown)
        top = row - rowsShown + 1;
    if (top != m_scroll) {
        scroll(ScrollBar::ThumbPosition, top);
        if (onScrolledToFocus)
            onScrolledToFocus(m_scroll);
    }
    updateBox(unit);
    // The box is announced after the panel: on a focus-in Qt tells of the panel only
    // after this handler, so the box's news waits for the next turn of the event loop.
    QMetaObject::invokeMethod(
        this,
        [this, unit] {
            if (!hasFocus() || m_focusUnit != unit)
                return;
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(unit - 1);
            AccessibleNotifier::sendNow(&focus);
        },
        Qt::QueuedConnection);
}

void UnitStatusWindow::mousePressEvent(QMouseEvent* event)
{
    // Only a click inside a unit's box acts.
    const int unit = unitAt(event->position().toPoint());
    if (unit > 0 && event->button() == Qt::LeftButton && onUnitClicked)
        onUnitClicked(unit);
}

void UnitStatusWindow::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int unit = unitAt(event->position().toPoint());
    if (unit > 0 && event->button() == Qt::LeftButton && onUnitDoubleClicked)
        onUnitDoubleClicked(unit);
}

} // namespace deskpanel
