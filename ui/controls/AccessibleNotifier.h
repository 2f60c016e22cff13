#pragma once
#include <QAccessible>

#include <functional>

class QAccessibleEvent;
class QObject;
class QString;
class QWidget;

namespace deskpanel {

// Tells assistive technology that a control's state, value, name or description changed.
// Nothing is done while no assistive tool listens. Reports wait up to IntervalMs and are
// merged per control, so a fader dragged or a rack of units coming on line sends each
// control's news once per interval instead of flooding the bus; a state notice says which
// flags changed and no others. A control that is not showing (the hidden view's) sends
// nothing: a reader asks afresh when it appears. While a bulk change is under way (see
// setBulkChangeQuery) controls send nothing at all; the window then tells the reader once
// what happened. Meters report nothing: their level is read when asked.
class AccessibleNotifier {
public:
    static constexpr int IntervalMs = 100;

    // `child` is the index of a painted part of `object`, or -1 for the object itself.
    static void stateChanged(QObject* object, QAccessible::State changed, int child = -1);
    static void valueChanged(QObject* object, int child = -1);
    static void nameChanged(QObject* object, int child = -1);
    static void descriptionChanged(QObject* object, int child = -1);
    // Sends what waits now.
    static void flush();

    // The name assistive technology reads for a console control, kept without Qt's own
    // NameChanged (which goes out at once, unthrottled); the change is reported with the
    // rest. The control's accessible interface reads it with accessibleLabel().
    static void setAccessibleLabel(QWidget* widget, const QString& name);
    static QString accessibleLabel(const QWidget* widget);

    // Whether a bulk change holds the console now; its controls' news is then dropped
    // and counted. Empty: never.
    static void setBulkChangeQuery(std::function<bool()> query);
    // How many notices were dropped since the last call, which resets the count.
    static int takeDropped();

    // Sends an event at once, through the sink when one is set.
    static void sendNow(QAccessibleEvent* event);

    // Where the news goes instead of QAccessible::updateAccessibility, whether or not an
    // assistive tool listens (a platform without one, as offscreen tests run on); null
    // for Qt again.
    using Sink = void (*)(QAccessibleEvent* event);
    static void setSink(Sink sink);
};

} // namespace deskpanel
