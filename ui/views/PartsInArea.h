#pragma once
#include <QRect>

namespace deskpanel {

// How both strip painters walk one part of many strips or unit blocks: draw(index, rect)
// is called for each channel (or unit) first..last, in order, whose part meets `area`, so
// that a repaint draws only what it must. Rectangles are in content coordinates.
template <class Layout, class Draw>
void forEachChannelPart(const Layout& layout, typename Layout::ChannelPart part, int first, int last, const QRect& area,
                        Draw&& draw)
{
    for (int c = first; c <= last; ++c) {
        const QRect r = layout.channelRect(part, c);
        if (r.intersects(area))
            draw(c, r);
    }
}

template <class Layout, class Draw>
void forEachUnitPart(const Layout& layout, typename Layout::UnitPart part, int first, int last, const QRect& area,
                     Draw&& draw)
{
    for (int u = first; u <= last; ++u) {
        const QRect r = layout.unitRect(part, u);
        if (r.intersects(area))
            draw(u, r);
    }
}

} // namespace deskpanel
