#include "ui/controls/AccessibleNotifier.h"

#include <QAccessible>
#include <QPointer>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <cstring>
#include <unordered_map>
#include <utility>
#include <vector>

namespace deskpanel {
namespace {

enum News : unsigned {
    StateNews = 1,
    ValueNews = 2,
    NameNews = 4,
    DescriptionNews = 8
};

// What one control (or one of its painted parts) has to tell at the next flush.
struct Pending {
    QPointer<QObject> object;
    int child = -1;
    unsigned news = 0;
    QAccessible::State changed;
};

struct Key {
    const QObject* object;
    int child;
    bool operator==(const Key& other) const { return object == other.object && child == other.child; }
};

struct KeyHash {
    std::size_t operator()(const Key& k) const
    {
        return std::hash<const void*>()(k.object) ^ (std::hash<int>()(k.child) << 1);
    }
};

constexpr const char* LabelProperty = "deskpanelAccessibleLabel";

AccessibleNotifier::Sink sink = nullptr;
std::function<bool()> bulkChange;
int dropped = 0;
std::vector<Pending> pending;
std::unordered_map<Key, std::size_t, KeyHash> pendingIndex;

bool listening()
{
    return sink || QAccessible::isActive();
}

// A widget hidden, or inside a hidden view, is not showing; a painted part is as its host.
bool showing(const QObject* object)
{
    const auto* widget = qobject_cast<const QWidget*>(object);
    return !widget || widget->isVisible();
}

Pending* entryFor(QObject* object, int child)
{
    if (!object || !listening())
        return nullptr;
    if (bulkChange && bulkChange()) {
        ++dropped;
        return nullptr;
    }
    if (!showing(object))
        return nullptr;
    const Key key{object, child};
    if (auto it = pendingIndex.find(key); it != pendingIndex.end())
        return &pending[it->second];
    if (pending.empty())
        QTimer::singleShot(AccessibleNotifier::IntervalMs, &AccessibleNotifier::flush);
    pendingIndex.emplace(key, pending.size());
    pending.push_back({object, child, 0, {}});
    return &pending.back();
}

QAccessible::State merged(const QAccessible::State& a, const QAccessible::State& b)
{
    static_assert(sizeof(QAccessible::State) == sizeof(quint64));
    quint64 x = 0;
    quint64 y = 0;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    x |= y;
    QAccessible::State out;
    std::memcpy(&out, &x, sizeof x);
    return out;
}

void add(QObject* object, int child, News news)
{
    if (Pending* p = entryFor(object, child))
        p->news |= news;
}

void sendValue(QObject* object, int child)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(object);
    if (iface && child >= 0)
        iface = iface->child(child);
    QAccessibleValueInterface* value = iface ? iface->valueInterface() : nullptr;
    if (!value)
        return;
    QAccessibleValueChangeEvent event(object, value->currentValue());
    event.setChild(child);
    AccessibleNotifier::sendNow(&event);
}

void sendPlain(QObject* object, int child, QAccessible::Event type)
{
    QAccessibleEvent event(object, type);
    event.setChild(child);
    AccessibleNotifier::sendNow(&event);
}

void send(const Pending& p)
{
    QObject* object = p.object.data();
    // A control hidden while its news waited has nothing to tell.
    if (!object || !showing(object))
        return;
    if (p.news & NameNews)
        sendPlain(object, p.child, QAccessible::NameChanged);
    if (p.news & StateNews) {
        QAccessibleStateChangeEvent event(object, p.changed);
        event.setChild(p.child);
        AccessibleNotifier::sendNow(&event);
    }
    if (p.news & ValueNews)
        sendValue(object, p.child);
    if (p.news & DescriptionNews)
        sendPlain(object, p.child, QAccessible::DescriptionChanged);
}

} // namespace

void AccessibleNotifier::stateChanged(QObject* object, QAccessible::State changed, int child)
{
    if (Pending* p = entryFor(object, child)) {
        p->news |= StateNews;
        // The flags of several notices in one interval: each that changed at least once.
        p->changed = merged(p->changed, changed);
    }
}

void AccessibleNotifier::valueChanged(QObject* object, int child)
{
    add(object, child, ValueNews);
}

void AccessibleNotifier::nameChanged(QObject* object, int child)
{
    add(object, child, NameNews);
}

void AccessibleNotifier::descriptionChanged(QObject* object, int child)
{
    add(object, child, DescriptionNews);
}

void AccessibleNotifier::setAccessibleLabel(QWidget* widget, const QString& name)
{
    if (!widget || widget->property(LabelProperty).toString() == name)
        return;
    const bool first = !widget->property(LabelProperty).isValid();
    widget->setProperty(LabelProperty, name);
    if (!first)
        nameChanged(widget);
}

QString AccessibleNotifier::accessibleLabel(const QWidget* widget)
{
    return widget ? widget->property(LabelProperty).toString() : QString();
}

void AccessibleNotifier::setBulkChangeQuery(std::function<bool()> query)
{
    bulkChange = std::move(query);
}

int AccessibleNotifier::takeDropped()
{
    return std::exchange(dropped, 0);
}

void AccessibleNotifier::sendNow(QAccessibleEvent* event)
{
    if (sink)
        sink(event);
    else
        QAccessible::updateAccessibility(event);
}

void AccessibleNotifier::setSink(Sink newSink)
{
    sink = newSink;
}

void AccessibleNotifier::flush()
{
    std::vector<Pending> now;
    now.swap(pending);
    pendingIndex.clear();
    for (const Pending& p : now)
        send(p);
}

} // namespace deskpanel
