#pragma once
#include <QRect>
#include <QWidget>

namespace deskpanel {

// Where a control sends the repaint that a new value of it needs, instead of repainting
// at once: a view gathers its controls' repaints into one frame.
class RepaintScheduler {
public:
    virtual ~RepaintScheduler() = default;
    // `area` is in the control's own coordinates; an empty one means the whole control.
    virtual void repaintLater(QWidget& control, const QRect& area) = 0;
};

// Through `scheduler` when the control has one, at once otherwise.
inline void repaintValue(RepaintScheduler* scheduler, QWidget& control, const QRect& area = {})
{
    if (scheduler)
        scheduler->repaintLater(control, area);
    else if (area.isEmpty())
        control.update();
    else
        control.update(area);
}

} // namespace deskpanel
