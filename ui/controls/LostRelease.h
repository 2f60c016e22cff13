#pragma once

class QEvent;

namespace deskpanel {

// True for an event after which the release of a held left button may never reach the
// control that was pressed: a box opened over its window (it takes the release), the
// window lost the keyboard and mouse to another, or the pointer moves with the left
// button up. A control in a drag or a repeat ends it then, as a release would.
bool leftButtonReleaseLost(const QEvent* event);

} // namespace deskpanel
