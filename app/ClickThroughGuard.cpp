#include "app/ClickThroughGuard.h"

#include <QEvent>

namespace deskpanel {

ClickThroughGuard::ClickThroughGuard(const Clock& clock, QObject* parent) : QObject(parent), m_clock(clock)
{}

void ClickThroughGuard::arm()
{
    m_armed = true;
    m_armedAt = m_clock.nowMs();
}

bool ClickThroughGuard::isArmed() const
{
    return m_armed && m_clock.nowMs() - m_armedAt <= ExpiryMs;
}

bool ClickThroughGuard::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: m_armed = false; break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (isArmed()) {
            m_armed = false;
            // The release that belongs to the dropped press goes too.
            m_dropRelease = true;
            return true;
        }
        m_armed = false;
        break;
    case QEvent::MouseButtonRelease:
        if (m_dropRelease) {
            m_dropRelease = false;
            return true;
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace deskpanel
