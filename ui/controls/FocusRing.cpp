#include "ui/controls/FocusRing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace deskpanel {

namespace {
// A frame one logical pixel wide just inside `r`, filled rather than stroked: a filled
// logical pixel covers whole device pixels at every ratio, so the two frames touch.
void fillFrame(QPainter& p, const QRect& r, const QColor& colour)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    p.fillRect(QRect(r.left(), r.top(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), colour);
    p.fillRect(QRect(r.left(), r.top(), 1, r.height()), colour);
    p.fillRect(QRect(r.right(), r.top(), 1, r.height()), colour);
}
} // namespace

void drawFocusRing(QPainter& p, const QRect& rect)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    fillFrame(p, rect, FocusRingOuter);
    fillFrame(p, rect.adjusted(1, 1, -1, -1), FocusRingInner);
    p.restore();
}

namespace {
double channelLuminance(int value)
{
    const double c = value / 255.0;
    return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& c)
{
    return 0.2126 * channelLuminance(c.red()) + 0.7152 * channelLuminance(c.green()) +
           0.0722 * channelLuminance(c.blue());
}
} // namespace

double contrastRatio(const QColor& a, const QColor& b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace deskpanel
