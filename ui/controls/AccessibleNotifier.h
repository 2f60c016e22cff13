#pragma once
class QAccessibleEvent;
class QObject;

namespace deskpanel {

// Tells assistive technology that a control's state, value or description changed.
// Nothing is done while no assistive tool listens. Reports wait up to IntervalMs and are
// merged, so a fader dragged or a rack of units coming on line sends each control's news
// once per interval instead of flooding the bus. Meters report nothing: their level is
// read when asked.
class AccessibleNotifier {
public:
    static constexpr int IntervalMs = 100;

    // `child` is the index of a painted part of `object`, or -1 for the object itself.
    static void stateChanged(QObject* object, int child = -1);
    static void valueChanged(QObject* object, int child = -1);
    static void descriptionChanged(QObject* object, int child = -1);
    // Sends what waits now.
    static void flush();
    // Where the news goes instead of QAccessible::updateAccessibility, whether or not an
    // assistive tool listens (a platform without one, as offscreen tests run on); null
    // for Qt again.
    using Sink = void (*)(QAccessibleEvent* event);
    static void setSink(Sink sink);
};

} // namespace deskpanel
