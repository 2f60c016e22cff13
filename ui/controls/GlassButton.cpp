#include "ui/controls/GlassButton.h"

#include "ui/controls/ControlErrors.h"
#include "ui/controls/FocusRing.h"
#include "ui/controls/ImageRegistry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace deskpanel {

GlassButton* GlassButton::create(QWidget* parent, int controlId, const QString& bitmap, const QString& text,
                                 const QRect& rect)
{
    if (!parent || rect.isEmpty()) {
        ControlErrors::report(QStringLiteral("ERROR - failed to create CCustomButton"));
        return nullptr;
    }
    auto* button = new GlassButton(parent, controlId, bitmap, text);
    button->setGeometry(rect);
    button->show();
    return button;
}

GlassButton::GlassButton(QWidget* parent, int controlId, const QString& bitmap, const QString& text)
    : QWidget(parent), m_controlId(controlId), m_bitmap(bitmap), m_text(text)
{
    setObjectName(QStringLiteral("button%1").arg(controlId));
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setFocusPolicy(Qt::TabFocus); // a click gives no focus: the ring is for the keyboard only
}

void GlassButton::setState(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    update();
}

// Qt's backing store already buffers the widget, so the face and text reach the screen
// in one step.
void GlassButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int shift = m_state == 1 ? 1 : 0;
    const QRect face = rect().translated(shift, shift);
    ImageRegistry::instance().draw(p, m_bitmap, face, ImageRegistry::DrawMode::Stretch);
    p.setPen(QColor(16, 16, 16));
    p.setFont(font());
    p.drawText(face, Qt::AlignCenter | Qt::TextShowMnemonic, m_text);
    if (hasFocus())
        drawFocusRing(p, rect());
}

// Space goes down and comes up as a mouse button does: the click is on the release.
void GlassButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            setState(1);
        return;
    }
    event->ignore(); // Enter, Escape and the letters are the dialog's
}

void GlassButton::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || m_state != 1) {
        event->ignore();
        return;
    }
    setState(0);
    emit clicked(m_controlId);
}

void GlassButton::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void GlassButton::focusOutEvent(QFocusEvent* event)
{
    setState(0);
    update();
    QWidget::focusOutEvent(event);
}

void GlassButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        setState(1);
}

void GlassButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasDown = m_state == 1;
    setState(0);
    if (wasDown && rect().contains(event->position().toPoint()))
        emit clicked(m_controlId);
}

} // namespace deskpanel
