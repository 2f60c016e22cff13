#pragma once
#include <QPoint>
#include <Qt>

namespace deskpanel {

// The pointer arithmetic that the fader and the scroll bar share while a thumb is
// dragged: where the thumb is asked to start for a pointer position, and which value
// an offset along the travel stands for.
class DragTracker {
public:
    explicit DragTracker(Qt::Orientation orientation) : m_orientation(orientation) {}

    // Starts a drag; `grabOffset` is the distance from the thumb's start to the pointer.
    void begin(int grabOffset)
    {
        m_grabOffset = grabOffset;
        m_active = true;
    }
    void end() { m_active = false; }
    bool active() const { return m_active; }

    int axis(const QPoint& p) const { return m_orientation == Qt::Horizontal ? p.x() : p.y(); }
    // Where the thumb starts when the pointer is at `pointer`, before any limit.
    int thumbStart(const QPoint& pointer) const { return axis(pointer) - m_grabOffset; }

    // The value (0..range) of a thumb `offsetPx` pixels along a travel of `travelPx`
    // pixels: truncated, and limited to 0..range. A travel of no length gives 0.
    static int valueAt(int offsetPx, int travelPx, int range);

private:
    Qt::Orientation m_orientation;
    int m_grabOffset = 0;
    bool m_active = false;
};

} // namespace deskpanel
