#include "ui/controls/PictureButton.h"

#include "ui/controls/AccessibleNotifier.h"
#include "ui/controls/ControlErrors.h"
#include "ui/controls/FocusRing.h"
#include "ui/controls/ImageRegistry.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace deskpanel {

namespace {
const QColor buttonGround(48, 59, 83);
}

PictureButton* PictureButton::create(QWidget* parent, int controlId, const QString& normal, const QString& pressed,
                                     const QString& disabled, const QRect& rect)
{
    if (!parent || rect.isEmpty()) {
        ControlErrors::report(QStringLiteral("ERROR - failed to create CCustomGUIButton"));
        return nullptr;
    }
    auto* button = new PictureButton(parent, controlId, normal, pressed, disabled);
    button->setGeometry(rect);
    button->show();
    return button;
}

PictureButton::PictureButton(QWidget* parent, int controlId, const QString& normal, const QString& pressed,
                             const QString& disabled)
    : QWidget(parent), m_controlId(controlId), m_bitmaps{normal, pressed, disabled}
{
    setObjectName(QStringLiteral("button%1").arg(controlId));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::TabFocus);
    m_springTimer.setSingleShot(true);
    connect(&m_springTimer, &QTimer::timeout, this, &PictureButton::springBack);
}

int PictureButton::springBackMs() const
{
    switch (m_controlId) {
    case NewId: return 2000;
    case RecallId:
    case DeleteId: return 500;
    default: return 0;
    }
}

void PictureButton::setState(int state)
{
    if (state != Normal && state != Pressed && state != Disabled)
        return;
    // The disabled look and a button that takes no clicks go together.
    setEnabled(state != Disabled);
    if (state == Disabled)
        m_springTimer.stop();
    if (m_state == state)
        return;
    // Qt tells of the enabled state itself; the pressed look is the checked state of the
    // latching buttons.
    const bool wasPressed = m_state == Pressed;
    m_state = state;
    update();
    const bool latching = m_controlId == LockId || m_controlId == OverviewId;
    if (latching && wasPressed != (state == Pressed)) {
        QAccessible::State changed;
        changed.checked = true;
        AccessibleNotifier::stateChanged(this, changed);
    }
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), buttonGround);
    const QString& bitmap = m_bitmaps[m_state == Pressed ? 1 : m_state == Disabled ? 2 : 0];
    const QPoint at = m_state == Pressed ? QPoint(1, 1) : QPoint(0, 0);
    ImageRegistry::instance().draw(p, bitmap, QRect(at, size()), ImageRegistry::DrawMode::Fixed);
    if (hasFocus())
        drawFocusRing(p, rect());
}

// The command goes out on the press, after the look has changed, so the Overview
// button's look is settled before the view switches.
void PictureButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        press();
}

void PictureButton::press()
{
    if (const int ms = springBackMs())
        m_springTimer.start(ms);
    const bool overviewShown = m_overviewShown && m_overviewShown();
    setState(m_controlId == OverviewId && overviewShown ? Normal : Pressed);
    emit clicked(m_controlId);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        release();
}

void PictureButton::release()
{
    if (m_controlId != OverviewId && m_controlId != LockId && m_state != Disabled)
        setState(Normal);
}

void PictureButton::click()
{
    if (!isEnabled())
        return;
    press();
    release();
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier && !event->isAutoRepeat())
        click();
    else
        event->ignore();
}

void PictureButton::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void PictureButton::springBack()
{
    m_springTimer.stop();
    if (m_state != Disabled)
        setState(Normal);
}

} // namespace deskpanel
