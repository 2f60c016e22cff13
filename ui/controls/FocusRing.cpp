#include "ui/controls/FocusRing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace deskpanel {

void drawFocusRing(QPainter& p, const QRect& rect)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    QPen pen(FocusRingOuter, 0); // cosmetic: one device pixel whatever the ratio
    p.setPen(pen);
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    pen.setColor(FocusRingInner);
    p.setPen(pen);
    p.drawRect(rect.adjusted(1, 1, -2, -2));
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
