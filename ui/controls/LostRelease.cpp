#include "ui/controls/LostRelease.h"

#include <QMouseEvent>

namespace deskpanel {

bool leftButtonReleaseLost(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::UngrabMouse: return true;
    case QEvent::MouseMove: return !(static_cast<const QMouseEvent*>(event)->buttons() & Qt::LeftButton);
    default: return false;
    }
}

} // namespace deskpanel
