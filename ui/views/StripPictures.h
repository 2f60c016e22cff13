#pragma once
#include <QHash>
#include <QPixmap>
#include <QRect>

class QPainter;

namespace deskpanel {

// The pictures of a strip view, each rendered once for the screen's pixel ratio at the
// size it is drawn at, so a repaint only copies pixmaps and nothing is scaled while
// painting (crisp at ratio 2). A change of ratio renders them again.
class StripPictures {
public:
    // Draws picture `id` stretched into `target`; an unknown picture leaves it unpainted.
    void draw(QPainter& p, int id, const QRect& target);
    int renderedCount() const { return static_cast<int>(m_pixmaps.size()); }

private:
    qreal m_dpr = 0;
    QHash<quint64, QPixmap> m_pixmaps;
};

} // namespace deskpanel
