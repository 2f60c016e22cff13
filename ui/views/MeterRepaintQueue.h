#pragma once
#include "core/model/Limits.h"

#include <QRect>
#include <QTimer>

#include <bitset>
#include <functional>

class QWidget;

namespace deskpanel {

// Readings do not paint: each one only marks its meter, and one timer repaints the
// marked meters that can be seen, at most once a frame. The timer runs only while a
// visible meter waits to be repainted.
class MeterRepaintQueue {
public:
    // 20 ms or more: Windows turns a shorter Qt timer into a 1 ms multimedia timer.
    static constexpr int FrameMs = 20;

    // `meterArea(channel)` is the area a meter paints, in `canvas` coordinates.
    MeterRepaintQueue(QWidget& canvas, std::function<QRect(int channel)> meterArea);

    // A meter has a new state. A meter out of sight is left alone: it is drawn from its
    // latest state when it comes into sight.
    void markChanged(int channel);
    // Repaints the marked meters now (the timer's work).
    void flush();
    bool isTimerRunning() const { return m_timer.isActive(); }
    int pendingCount() const { return static_cast<int>(m_pending.count()); }

private:
    QRect visibleArea() const;

    QWidget& m_canvas;
    std::function<QRect(int)> m_meterArea;
    std::bitset<MaxChannels> m_pending;
    QTimer m_timer;
};

} // namespace deskpanel
