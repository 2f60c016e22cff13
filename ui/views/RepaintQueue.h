#pragma once
#include "core/model/Limits.h"
#include "core/model/MeterListener.h"
#include "ui/controls/RepaintScheduler.h"

#include <QRect>
#include <QTimer>

#include <array>
#include <bitset>
#include <functional>
#include <vector>

class QWidget;

namespace deskpanel {

// Changes do not paint a strip view: a meter's new reading, a text of the canvas or a
// switch or fader that took a new value only marks what must be drawn again, and one
// timer repaints everything marked that can be seen, each once, at the next frame. A
// remote control sending a thousand gains a second thus costs fifty paints a second, not
// a thousand. The timer runs only while something in sight waits to be repainted.
class RepaintQueue : public RepaintScheduler {
public:
    // 20 ms or more: Windows turns a shorter Qt timer into a 1 ms multimedia timer.
    static constexpr int FrameMs = 20;
    // More separate areas than this in one frame repaint the whole view instead.
    static constexpr std::size_t MaxAreas = 64;

    // `meterArea(channel)` is the area a meter paints, in `canvas` coordinates. The
    // controls that repaint through the queue are children of `canvas`.
    RepaintQueue(QWidget& canvas, std::function<QRect(int channel)> meterArea);

    // A meter has a new state; it is repainted only when the state differs from the last
    // one it was given (its picture changed). A meter out of sight is left alone: it is
    // drawn from its latest state when it comes into sight.
    void markMeter(int channel, const MeterState& state);
    // The meter's picture changed though its state did not (a mark of the view's own).
    void markMeterPicture(int channel);
    // An area of the canvas (canvas coordinates) shows something new.
    void markArea(const QRect& area);
    void repaintLater(QWidget& control, const QRect& area) override;

    // Repaints everything marked now (the timer's work).
    void flush();
    bool isTimerRunning() const { return m_timer.isActive(); }
    // Meters and areas waiting for the frame.
    int pendingCount() const { return static_cast<int>(m_meters.count() + m_areas.size()) + (m_wholeView ? 1 : 0); }

private:
    QRect visibleArea() const;
    void waitForFrame();

    QWidget& m_canvas;
    std::function<QRect(int)> m_meterArea;
    // The state each meter was last given, once it was given one.
    std::array<MeterState, MaxChannels> m_meterStates{};
    std::bitset<MaxChannels> m_meterStateKnown;
    std::bitset<MaxChannels> m_meters;
    std::vector<QRect> m_areas;
    bool m_wholeView = false;
    QTimer m_timer;
};

} // namespace deskpanel
