#pragma once
#include <QColor>
#include <QRect>

class QPainter;

namespace deskpanel {

// The ring a control shows while it has the keyboard focus: a black line outside a white
// one, touching, each one logical pixel wide (two device pixels at ratio 2), inside the
// control's edge. Whatever the ground, one of the two stands out from it by at least 3:1
// (the strips' blue against black is 3.3:1, against white 6.4:1; on the white unit panel
// the black line, 21:1), and lines of whole pixels stay crisp at any device ratio.
inline const QColor FocusRingOuter{0, 0, 0};
inline const QColor FocusRingInner{255, 255, 255};

void drawFocusRing(QPainter& p, const QRect& rect);

// The contrast ratio of two colours (relative luminance, sRGB), 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);

} // namespace deskpanel
