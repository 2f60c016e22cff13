#pragma once
#include "ui/controls/DragTracker.h"
#include "ui/controls/RepaintScheduler.h"

#include <QString>
#include <QWidget>

#include <functional>

namespace deskpanel {

// The vertical gain fader of a channel strip: position 0 (thumb at the top, most gain)
// to 72 (bottom). Only the thumb can be grabbed. The fader reports the grab, every
// position while dragging (with whether Alt was held) and the release; the channel
// control decides what the move means.
class GainFader : public QWidget {
    Q_OBJECT
public:
    static constexpr int MaxPosition = 72;
    static constexpr int ReducedRangeFloor = 11;

    // `track` is stretched over the whole control, `thumb` over the thumb, whose size is
    // taken from its bitmap. Returns nullptr when there is no parent or no room.
    static GainFader* create(QWidget* parent, const QRect& rect, int channel, const QString& track,
                             const QString& thumb);

    ~GainFader() override;

    int channel() const { return m_channel; }
    int position() const { return m_position; }
    void setPosition(int position);
    int thumbTop() const;
    int thumbHeight() const { return m_thumbHeight; }
    bool isDragging() const { return m_drag.active(); }
    // Where a new position sends its repaint (the view's frame); null: at once.
    void setRepaintScheduler(RepaintScheduler* scheduler) { m_repaints = scheduler; }

    // While this answers true, the fader does not go above position 11.
    void setReducedRangeQuery(std::function<bool()> query) { m_reducedRange = std::move(query); }
    bool reducedRange() const { return m_reducedRange && m_reducedRange(); }
    // A grab, a move to `position` (limited as a drag is) and a release, as a quick drag
    // would report them: what an assistive tool setting the gain asks for.
    void moveTo(int position);
    // True while any fader of the program is being dragged; the views do not scroll
    // vertically meanwhile.
    static bool isAnyActive() { return s_activeCount > 0; }

signals:
    void grabbed(int channel);
    void moved(int channel, int position, bool alt);
    void released(int channel);
    // The keyboard reached the fader (Tab, a shortcut, a screen reader's grab): its
    // channel becomes the current one. Any other focus-in leaves the current channel.
    void focused(int channel);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    GainFader(QWidget* parent, int channel, const QString& track, const QString& thumb);
    QRect thumbRect() const;
    void endDrag();
    // Ends the drag as a release does, and reports it.
    void letGo();

    int m_channel;
    QString m_track;
    QString m_thumb;
    int m_thumbHeight = 0;
    int m_position = MaxPosition;
    DragTracker m_drag{Qt::Vertical};
    std::function<bool()> m_reducedRange;
    RepaintScheduler* m_repaints = nullptr;
    static int s_activeCount;
};

} // namespace deskpanel
