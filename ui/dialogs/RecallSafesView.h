#pragma once
#include "core/model/RecallSafes.h"

#include <QWidget>

namespace deskpanel {

class Project;

// The matrix of the Recall Safes dialog: the 384 inputs across (under their unit
// headers, scrolling), the five safe flags down. A click on a cell toggles that flag of
// that input; with the button held, every further cell entered takes the same value. A
// click on a flag's row header sets that flag for every input, or clears it when every
// input has it; a click on a unit header does the same for all five flags of its eight
// inputs. Edits a copy: the dialog decides whether it is kept.
class RecallSafesView : public QWidget {
    Q_OBJECT
public:
    static constexpr int HeaderWidth = 96;
    static constexpr int UnitHeaderHeight = 18;
    static constexpr int NumberHeight = 16;
    static constexpr int ColumnWidth = 22;
    static constexpr int RowHeight = 20;
    static inline const QColor SafeAmber{255, 176, 0};

    RecallSafesView(const Project& project, RecallSafes safes, QWidget* parent);

    const RecallSafes& safes() const { return m_safes; }
    int viewportWidth() const { return width() - HeaderWidth; }
    int scrollRange() const;
    int scrollPos() const { return m_scroll; }
    void setScrollPos(int pixels);

    // Hit tests in the view's coordinates: a cell (flag row 0..4, channel), a flag row
    // header (0..4), a unit header (1..48); -1 where there is none.
    struct Cell {
        int row = -1;
        int channel = -1;
        bool valid() const { return row >= 0 && channel >= 0; }
    };
    Cell cellAt(const QPoint& point) const;
    int rowHeaderAt(const QPoint& point) const;
    int unitHeaderAt(const QPoint& point) const;
    QPoint cellCentre(int row, int channel) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int columnLeft(int channel) const { return HeaderWidth + channel * ColumnWidth - m_scroll; }
    int rowTop(int row) const { return UnitHeaderHeight + NumberHeight + row * RowHeight; }
    int channelAtX(int x) const;
    void toggleRowForAll(int row);
    void toggleUnit(int unit);

    const Project& m_project;
    RecallSafes m_safes;
    int m_scroll = 0;
    bool m_painting = false;
    bool m_paintValue = false;
};

} // namespace deskpanel
