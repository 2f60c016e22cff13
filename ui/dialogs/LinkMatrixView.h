#pragma once
#include "ui/controls/DialogUnits.h"

#include <QWidget>

namespace deskpanel {

class ChannelControl;
class Project;

// The matrix of the Link dialog: 384 input columns against the 10 link groups, with the
// labels, the row headers (group number and title), the unit headers and the rotated
// channel numbers above the columns. Drawn in the dialog's coordinates: the view covers
// the dialog's area below the title strip. A left click on a cell toggles that input's
// membership; with the button held, every further cell entered toggles too (while
// dragging is allowed).
class LinkMatrixView : public QWidget {
    Q_OBJECT
public:
    LinkMatrixView(Project& project, ChannelControl& channels, const DialogUnits& units, QWidget* parent);

    int columnWidth() const;
    int cellHeight() const;
    int viewportWidth() const;
    // The largest scroll position in pixels: 384 columns less 400 pixels.
    int scrollRange() const;
    int scrollPos() const { return m_scroll; }
    void setScrollPos(int pixels);

    void setDragAllowed(bool allowed) { m_dragAllowed = allowed; }
    bool isDragAllowed() const { return m_dragAllowed; }

    // Hit tests in the view's coordinates: the group 1..10 and channel 0..383 of a cell,
    // or the group of a row header; 0 / -1 when the point is on none.
    struct Cell {
        int group = 0;
        int channel = -1;
        bool valid() const { return group > 0 && channel >= 0; }
    };
    Cell cellAt(const QPoint& point) const;
    int rowHeaderAt(const QPoint& point) const;
    // The centre of a cell that is in view (for tests and the gallery).
    QPoint cellCentre(int group, int channel) const;

signals:
    void rowHeaderDoubleClicked(int group);
    void rowHeaderRightClicked(int group);
    void cellRightClicked(int channel);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    int matrixLeft() const;
    int rowTop(int group) const;
    QRect rowHeaderRect(int group) const;
    int columnLeft(int channel) const;
    void paintHeaders(QPainter& p);
    void paintColumns(QPainter& p);

    Project& m_project;
    ChannelControl& m_channels;
    DialogUnits m_units;
    int m_scroll = 0;
    bool m_dragAllowed = true;
    bool m_pressed = false;
};

} // namespace deskpanel
