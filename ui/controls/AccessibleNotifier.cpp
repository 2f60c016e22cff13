#include "ui/controls/AccessibleNotifier.h"

#include <QAccessible>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace deskpanel {
namespace {

enum class News {
    State,
    Value,
    Description
};

struct Pending {
    QPointer<QObject> object;
    int child;
    News news;
};

AccessibleNotifier::Sink sink = nullptr;

void deliver(QAccessibleEvent* event)
{
    if (sink)
        sink(event);
    else
        QAccessible::updateAccessibility(event);
}

std::vector<Pending>& pending()
{
    static std::vector<Pending> list;
    return list;
}

void add(QObject* object, int child, News news)
{
    if (!object || !(sink || QAccessible::isActive()))
        return;
    std::vector<Pending>& list = pending();
    const bool known = std::any_of(list.begin(), list.end(), [&](const Pending& p) {
        return p.object == object && p.child == child && p.news == news;
    });
    if (known)
        return;
    if (list.empty())
        QTimer::singleShot(AccessibleNotifier::IntervalMs, &AccessibleNotifier::flush);
    list.push_back({object, child, news});
}

void send(const Pending& p)
{
    QObject* object = p.object.data();
    if (!object)
        return;
    switch (p.news) {
    case News::State: {
        QAccessible::State changed;
        changed.checked = true;
        changed.disabled = true;
        QAccessibleStateChangeEvent event(object, changed);
        event.setChild(p.child);
        deliver(&event);
        break;
    }
    case News::Value: {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
        if (iface && p.child >= 0)
            iface = iface->child(p.child);
        QAccessibleValueInterface* value = iface ? iface->valueInterface() : nullptr;
        if (!value)
            return;
        QAccessibleValueChangeEvent event(object, value->currentValue());
        event.setChild(p.child);
        deliver(&event);
        break;
    }
    case News::Description: {
        QAccessibleEvent event(object, QAccessible::DescriptionChanged);
        event.setChild(p.child);
        deliver(&event);
        break;
    }
    }
}

} // namespace

void AccessibleNotifier::stateChanged(QObject* object, int child)
{
    add(object, child, News::State);
}

void AccessibleNotifier::valueChanged(QObject* object, int child)
{
    add(object, child, News::Value);
}

void AccessibleNotifier::descriptionChanged(QObject* object, int child)
{
    add(object, child, News::Description);
}

void AccessibleNotifier::setSink(Sink newSink)
{
    sink = newSink;
}

void AccessibleNotifier::flush()
{
    std::vector<Pending> now;
    now.swap(pending());
    for (const Pending& p : now)
        send(p);
}

} // namespace deskpanel
