#include "ui/controls/DialogUnits.h"

#include <cmath>

namespace deskpanel {

namespace {
constexpr double baseWidthAt96 = 6.0;
constexpr double baseHeightAt96 = 13.0;
} // namespace

int DialogUnits::x(int dlu) const
{
    return int(std::lround(dlu * baseWidthAt96 * m_dpi / (4.0 * 96.0)));
}

int DialogUnits::y(int dlu) const
{
    return int(std::lround(dlu * baseHeightAt96 * m_dpi / (8.0 * 96.0)));
}

QRect DialogUnits::toPixels(const QRect& dlu) const
{
    const int left = x(dlu.x());
    const int top = y(dlu.y());
    const int right = x(dlu.x() + dlu.width());
    const int bottom = y(dlu.y() + dlu.height());
    return QRect(left, top, right - left, bottom - top);
}

} // namespace deskpanel
