#include "ui/controls/KeyboardFocus.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPointer>
#include <QWidget>

namespace deskpanel {
namespace {
QPointer<QWidget> reached;
const QWidget* grabbing = nullptr;
} // namespace

void KeyboardFocus::install()
{
    static KeyboardFocus* filter = [] {
        auto* f = new KeyboardFocus;
        f->setParent(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    (void)filter;
}

QWidget* KeyboardFocus::current()
{
    QWidget* focused = QApplication::focusWidget();
    return focused && focused == reached ? focused : nullptr;
}

bool KeyboardFocus::reachedByKeyboard(const QFocusEvent* event, const QWidget* widget)
{
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason: return true;
    default: return widget && widget == grabbing;
    }
}

void KeyboardFocus::focusByKeyboard(QWidget* widget)
{
    if (!widget)
        return;
    grabbing = widget;
    widget->activateWindow();
    widget->setFocus(Qt::OtherFocusReason);
    grabbing = nullptr;
    // Already focused: no focus event comes, and the keyboard holds it from now on.
    if (widget->hasFocus())
        reached = widget;
}

bool KeyboardFocus::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::FocusIn || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    auto* focus = static_cast<QFocusEvent*>(event);
    if (reachedByKeyboard(focus, widget))
        reached = widget;
    else if (focus->reason() != Qt::ActiveWindowFocusReason && focus->reason() != Qt::PopupFocusReason)
        reached = nullptr;
    return false;
}

} // namespace deskpanel
