#include "ui/controls/ToggleButton.h"

#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/FocusRing.h"
#include "ui/controls/ImageRegistry.h"
#include "ui/controls/KeyboardFocus.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace deskpanel {

ToggleButton* ToggleButton::create(QWidget* parent, int baseId, int channel, const QString& offBitmap,
                                   const QString& onBitmap, const QRect& rect)
{
    if (!parent || rect.isEmpty())
        return nullptr;
    auto* button = new ToggleButton(parent, baseId, channel, offBitmap, onBitmap);
    button->setGeometry(rect);
    button->show();
    return button;
}

ToggleButton::ToggleButton(QWidget* parent, int baseId, int channel, const QString& offBitmap, const QString& onBitmap)
    : QWidget(parent), m_baseId(baseId), m_channel(channel), m_bitmaps{offBitmap, onBitmap}
{
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus); // a click gives no focus: the ring is for the keyboard only
}

void ToggleButton::setState(int state)
{
    const int s = state ? 1 : 0;
    if (s == m_state)
        return;
    m_state = s;
    repaintValue(m_repaints, *this);
    QAccessible::State changed;
    changed.checked = true;
    AccessibleNotifier::stateChanged(this, changed);
}

void ToggleButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    ImageRegistry::instance().draw(p, m_bitmaps[m_state], rect(), ImageRegistry::DrawMode::Stretch);
    if (hasFocus())
        drawFocusRing(p, rect());
}

void ToggleButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (!flip())
        return;
    m_painting = true;
    m_paintValue = m_state;
    m_lastChannel = m_channel;
    emit switchCommand(m_channel, kind(), m_state);
}

bool ToggleButton::flip()
{
    if (m_pressGuard && !m_pressGuard(m_channel, kind(), 1 - m_state))
        return false;
    setState(1 - m_state);
    return true;
}

void ToggleButton::press()
{
    if (flip())
        emit switchCommand(m_channel, kind(), m_state);
}

void ToggleButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && !event->isAutoRepeat())
        press();
    else
        event->ignore(); // Ctrl+Tab and the rest go on to the strip view
}

void ToggleButton::focusInEvent(QFocusEvent* event)
{
    update();
    if (KeyboardFocus::reachedByKeyboard(event, this))
        emit focused(m_channel);
    QWidget::focusInEvent(event);
}

void ToggleButton::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

// The pressed switch keeps the pointer while the button is held, so it looks for the
// switch under the pointer itself.
ToggleButton* ToggleButton::switchAt(const QPoint& globalPos) const
{
    QWidget* top = window();
    QWidget* hit = top->childAt(top->mapFromGlobal(globalPos));
    return qobject_cast<ToggleButton*>(hit);
}

void ToggleButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_painting || !(event->buttons() & Qt::LeftButton))
        return;
    ToggleButton* over = switchAt(event->globalPosition().toPoint());
    if (!over || over->kind() != kind() || over->channel() == m_lastChannel)
        return;
    m_lastChannel = over->channel();
    emit over->switchCommand(over->channel(), kind(), m_paintValue);
}

void ToggleButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_painting = false;
}

} // namespace deskpanel
