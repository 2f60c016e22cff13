#pragma once
#include <QRect>
#include <QSize>

namespace deskpanel {

// The one conversion from dialog units to pixels. Dialog layouts are kept in the units of
// the program's dialog font ("MS Sans Serif" 8 pt): a horizontal unit is a quarter of
// its average character width (6 pixels at 96 pixels per inch) and a vertical unit an
// eighth of its height (13 pixels), both growing with the resolution.
class DialogUnits {
public:
    explicit DialogUnits(int dpi = 96) : m_dpi(dpi > 0 ? dpi : 96) {}

    int dpi() const { return m_dpi; }
    int x(int dlu) const;
    int y(int dlu) const;
    QSize toPixels(const QSize& dlu) const { return {x(dlu.width()), y(dlu.height())}; }
    // Edges are converted one by one, so rectangles that touch in dialog units touch in pixels.
    QRect toPixels(const QRect& dlu) const;

private:
    int m_dpi;
};

} // namespace deskpanel
