#pragma once
#include "core/model/Limits.h"
#include "core/unitlink/UnitState.h"
#include "ui/controls/PaintedParts.h"

#include <QFont>
#include <QWidget>

#include <array>
#include <functional>

namespace deskpanel {

// The unit box panel: 48 numbered boxes, four a row, whose pictures show the state it
// keeps for each unit; a unit in LOCAL mode blinks between the inactive and active
// pictures. It scrolls by rows (0..9). A click on a box asks the main window to scroll
// the strips to that unit, a double click opens the unit's status. From the keyboard the
// panel is one Tab stop; the arrows, Home and End move the ring from box to box, Space
// acts as a click and Enter as a double click on the focused box.
class UnitStatusWindow : public QWidget, public PaintedParts {
public:
    static constexpr int Columns = 4;
    static constexpr int Rows = 12;
    static constexpr int BoxWidth = 120; // column pitch
    static constexpr int BoxHeight = 35; // row pitch
    static constexpr int MaxScroll = 9;

    UnitStatusWindow(int unitNumberTop, int dpiY, QWidget* parent = nullptr);

    void setUnitState(int unit, UnitState state);
    // One blink step of a LOCAL unit: the picture it shows until the next step.
    void setBlinkPicture(int unit, UnitPicture picture);
    UnitState stateOf(int unit) const;
    // The state's picture; a LOCAL unit's is that of its last blink step.
    UnitPicture pictureOf(int unit) const;

    // Scroll codes of ScrollBar; returns the position kept.
    int scroll(int code, int thumbPosition);

    // The box of `unit` in panel coordinates at scroll position 0.
    static QRect boxRect(int unit);
    // The unit whose box holds `point` (panel coordinates), or 0.
    int unitAt(const QPoint& point) const;

    std::function<void(int unit)> onUnitClicked;
    std::function<void(int unit)> onUnitDoubleClicked;
    // The panel scrolled to show the box that took the focus (the new position).
    std::function<void(int position)> onScrolledToFocus;

    // A line of news across the panel's foot, over the bottom boxes; empty: none. It says
    // why every box may stay dark (no unit heard), so it covers nothing that is lit then.
    void setNotice(const QString& notice);
    const QString& notice() const { return m_notice; }
    // Where the notice stands (panel coordinates): across the part of the panel in
    // sight; empty while there is none. The window repaints the panel when it is resized.
    QRect noticeRect() const;

    // The box with the keyboard focus (1..48) while the panel has it.
    int focusedUnit() const { return m_focusUnit; }

    int paintedPartCount() const override { return MaxUnits; }
    PaintedPart paintedPart(int index) const override;
    void pressPaintedPart(int index) override;
    int focusedPaintedPart() const override { return m_focusUnit - 1; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void updateBox(int unit);
    void focusUnit(int unit);

    int m_unitNumberTop;
    int m_scroll = 0;
    int m_focusUnit = 1;
    QFont m_font;
    QString m_notice;
    std::array<UnitState, MaxUnits> m_states{};
    std::array<UnitPicture, MaxUnits> m_blinkPictures{};
};

} // namespace deskpanel
