#pragma once
#include "ui/controls/DragTracker.h"

#include <QTimer>
#include <QWidget>

#include <optional>

namespace deskpanel {

// A scroll bar drawn from bitmaps: two arrows, a track and a thumb of fixed length. It
// reports to its owner with the classic scroll codes; the owner decides what moves and
// usually sets the bar's position afterwards.
class ScrollBar : public QWidget {
    Q_OBJECT
public:
    // Scroll codes, in the horizontal and the vertical reading.
    enum Code {
        LineLeft = 0,
        LineUp = 0,
        LineRight = 1,
        LineDown = 1,
        PageLeft = 2,
        PageUp = 2,
        PageRight = 3,
        PageDown = 3,
        ThumbPosition = 4,
        ThumbTrack = 5,
        Left = 6,
        Top = 6,
        Right = 7,
        Bottom = 7,
        EndScroll = 8,
    };
    // Style bit selecting the vertical bar.
    static constexpr int Vertical = 1;

    // Where a scroll code takes a view now at `current` that moves `line` pixels a line
    // and `page` a page, up to `maximum`: the owner clamps it. Nothing for a code that
    // moves nothing (EndScroll).
    static std::optional<int> target(int code, int position, int current, int line, int page, int maximum);

    // Creates the bar over `placeholder`'s rectangle (in the parent's coordinates) and
    // hides the placeholder. Failures go to the trace only; nullptr then.
    static ScrollBar* createFromStatic(int style, QWidget* parent, QWidget* placeholder, int newId);
    // The same over a rectangle of the parent.
    static ScrollBar* create(int style, QWidget* parent, const QRect& rect, int newId);

    int controlId() const { return m_controlId; }
    bool isVertical() const { return m_vertical; }
    // The range is |maximum - minimum|; the position is kept when the range changes.
    void setScrollRange(int minimum, int maximum, bool redraw = true);
    void setScrollPos(int position, bool redraw = true);
    int scrollPos() const { return m_position; }
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    int range() const { return m_range; }

    // Geometry in pixels along the bar.
    int arrowLength() const { return m_arrowLength; }
    int thumbLength() const { return m_thumbLength; }
    int trackTravel() const; // L: the thumb's free travel
    int thumbStart() const { return m_vertical ? m_thumbTop : m_thumbLeft; }
    bool isHovering() const { return m_hovering; }
    bool isDragging() const { return m_drag.active(); }

    // Bitmaps of the two orientations.
    struct Look {
        QString thumb, thumbSize, track, lineBack, lineForward;
    };
    static Look lookFor(bool vertical);

signals:
    void scrolled(int code, int position);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ScrollBar(QWidget* parent, bool vertical, int controlId);

    void drawHorizontal(QPainter& p);
    void drawVertical(QPainter& p);
    int length() const { return m_vertical ? height() : width(); }
    void placeThumb();
    int positionFromPointer(const QPoint& pointer);
    QRect backArrowRect() const;
    QRect forwardArrowRect() const;
    QRect thumbRect() const;
    void step(int delta);
    void startRepeat();
    void repeatTick();
    void checkHover();
    void stopGesture();

    int m_controlId;
    bool m_vertical;
    Look m_look;
    int m_minimum = 0;
    int m_maximum = 0;
    int m_range = 0;
    bool m_rangeSet = false;
    int m_position = 0;
    int m_thumbLeft = 0;
    int m_thumbTop = 0;
    int m_thumbLength = 0;
    int m_arrowLength = 0;
    bool m_hovering = false;
    bool m_backHeld = false;
    bool m_forwardHeld = false;
    DragTracker m_drag;
    QTimer m_holdDelay; // 150 ms after an arrow press
    QTimer m_repeat; // 100 ms while an arrow stays held
    QTimer m_hoverCheck; // 50 ms while hovering
};

} // namespace deskpanel
