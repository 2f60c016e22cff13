#include "ui/dialogs/NextMouseEventDropper.h"

#include <QCoreApplication>
#include <QEvent>

namespace deskpanel {

void NextMouseEventDropper::arm()
{
    auto* dropper = new NextMouseEventDropper;
    dropper->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(dropper);
}

bool NextMouseEventDropper::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        QCoreApplication::instance()->removeEventFilter(this);
        deleteLater();
        return true;
    default: return false;
    }
}

} // namespace deskpanel
