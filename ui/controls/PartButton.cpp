#include "ui/controls/PartButton.h"

#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/FocusRing.h"
#include "ui/controls/KeyboardFocus.h"

#include <QKeyEvent>
#include <QPainter>

namespace deskpanel {

PartButton::PartButton(QWidget* parent, const QRect& rect, int channel, std::function<void()> press)
    : QWidget(parent), m_channel(channel), m_press(std::move(press))
{
    setGeometry(rect);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusPolicy(Qt::TabFocus);
    show();
}

void PartButton::press()
{
    if (m_press)
        m_press();
}

void PartButton::setDescription(const QString& description)
{
    if (description == m_description)
        return;
    m_description = description;
    AccessibleNotifier::descriptionChanged(this);
}

void PartButton::paintEvent(QPaintEvent*)
{
    if (!hasFocus())
        return;
    QPainter p(this);
    drawFocusRing(p, rect());
}

void PartButton::keyPressEvent(QKeyEvent* event)
{
    const int k = event->key();
    const bool pressKey = k == Qt::Key_Return || k == Qt::Key_Enter || k == Qt::Key_Space;
    if (pressKey && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && !event->isAutoRepeat())
        press();
    else
        event->ignore();
}

void PartButton::focusInEvent(QFocusEvent* event)
{
    update();
    if (m_channel >= 0 && KeyboardFocus::reachedByKeyboard(event, this))
        emit focused(m_channel);
    QWidget::focusInEvent(event);
}

void PartButton::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

} // namespace deskpanel
