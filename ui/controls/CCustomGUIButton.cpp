#include "ui/controls/CCustomGUIButton.h"

#include "ui/controls/ControlErrors.h"
#include "ui/controls/ImageRegistry.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
const QColor buttonGround(48, 59, 83);
}

CCustomGUIButton* CCustomGUIButton::create(QWidget* parent, int controlId, const QString& normal,
                                           const QString& pressed, const QString& disabled, const QRect& rect)
{
    if (!parent || rect.isEmpty()) {
        ControlErrors::report(QStringLiteral("ERROR - failed to create CCustomGUIButton"));
        return nullptr;
    }
    auto* button = new CCustomGUIButton(parent, controlId, normal, pressed, disabled);
    button->setGeometry(rect);
    button->show();
    return button;
}

CCustomGUIButton::CCustomGUIButton(QWidget* parent, int controlId, const QString& normal,
                                   const QString& pressed, const QString& disabled)
    : QWidget(parent), m_controlId(controlId), m_bitmaps{normal, pressed, disabled}
{
    setObjectName(QStringLiteral("button%1").arg(controlId));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_springTimer.setSingleShot(true);
    connect(&m_springTimer, &QTimer::timeout, this, &CCustomGUIButton::springBack);
}

int CCustomGUIButton::springBackMs() const
{
    switch (m_controlId) {
    case NewId:
        return 2000;
    case RecallId:
    case DeleteId:
        return 500;
    default:
        return 0;
    }
}

void CCustomGUIButton::SetState(int state)
{
    if (state != Normal && state != Pressed && state != Disabled)
        return;
    // The disabled look and a button that takes no clicks go together.
    setEnabled(state != Disabled);
    if (state == Disabled)
        m_springTimer.stop();
    if (m_state == state)
        return;
    m_state = state;
    update();
}

void CCustomGUIButton::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), buttonGround);
    const QString& bitmap = m_bitmaps[m_state == Pressed ? 1 : m_state == Disabled ? 2 : 0];
    const QPoint at = m_state == Pressed ? QPoint(1, 1) : QPoint(0, 0);
    ImageRegistry::instance().draw(p, bitmap, QRect(at, size()), ImageRegistry::DrawMode::Fixed);
}

// The command goes out on the press, after the look has changed, so the Overview
// button's look is settled before the view switches.
void CCustomGUIButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const int ms = springBackMs())
        m_springTimer.start(ms);
    const bool overviewShown = m_overviewShown && m_overviewShown();
    SetState(m_controlId == OverviewId && overviewShown ? Normal : Pressed);
    emit clicked(m_controlId);
}

void CCustomGUIButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (m_controlId != OverviewId && m_controlId != LockId && m_state != Disabled)
        SetState(Normal);
}

void CCustomGUIButton::springBack()
{
    m_springTimer.stop();
    if (m_state != Disabled)
        SetState(Normal);
}
