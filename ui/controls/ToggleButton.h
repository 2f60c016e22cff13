#pragma once
#include "ui/controls/RepaintScheduler.h"

#include <QString>
#include <QWidget>

#include <functional>

namespace deskpanel {

// A two-state LED switch of a channel strip (Pol, Link, Pad, 48v, Mute). A press flips
// it and reports the new value for its channel; dragging on across switches of the same
// kind reports the same value for every other channel passed over. The switch does not
// change the others itself: whoever handles the report sets them.
class ToggleButton : public QWidget {
    Q_OBJECT
public:
    // Kind codes: the base id divided by 1000.
    enum Kind {
        Pol = 3,
        Link = 4,
        Pad = 5,
        Phantom = 6,
        Mute = 7
    };

    static ToggleButton* create(QWidget* parent, int baseId, int channel, const QString& offBitmap,
                                const QString& onBitmap, const QRect& rect);

    int channel() const { return m_channel; }
    int kind() const { return m_baseId / 1000; }
    int baseId() const { return m_baseId; }
    int state() const { return m_state; }
    void setState(int state);
    // Where a new state sends its repaint (the view's frame); null: at once.
    void setRepaintScheduler(RepaintScheduler* scheduler) { m_repaints = scheduler; }
    // Asked before a press flips the switch, with the value it would take: false leaves
    // the switch as it is and starts no drag.
    using PressGuard = std::function<bool(int channel, int kind, int value)>;
    void setPressGuard(PressGuard guard) { m_pressGuard = std::move(guard); }
    // What a left press does: flips the switch and reports the new value. Space and the
    // accessible toggle action take this path too, so whatever a click asks first applies.
    void press();

signals:
    // Command 210: `channel` becomes the current channel; switch `kind` goes to `value`.
    void switchCommand(int channel, int kind, int value);
    // The keyboard reached the switch: its channel becomes the current one.
    void focused(int channel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The press guard asked, then the switch flipped: false when the guard refused.
    bool flip();
    ToggleButton(QWidget* parent, int baseId, int channel, const QString& offBitmap, const QString& onBitmap);
    ToggleButton* switchAt(const QPoint& globalPos) const;

    int m_baseId;
    int m_channel;
    QString m_bitmaps[2];
    int m_state = 0;
    RepaintScheduler* m_repaints = nullptr;
    // The gesture started on this switch: the value being painted across, and the
    // channel it last reached.
    PressGuard m_pressGuard;
    bool m_painting = false;
    int m_paintValue = 0;
    int m_lastChannel = -1;
};

} // namespace deskpanel
