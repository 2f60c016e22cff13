#include "ui/main/ScreenFit.h"

#include <algorithm>

namespace deskpanel {

namespace {
constexpr int CompactFromDpi = 120;

QSize withFrame(QSize size, QMargins frame)
{
    return size.grownBy(frame);
}
} // namespace

bool ScreenFit::wantsCompactLayout(const DisplayMetrics& screen, QMargins frame)
{
    if (screen.effectiveDpi() >= CompactFromDpi)
        return true;
    const QSize normal = withFrame(MainLayout::compute(screen).windowSize, frame);
    return normal.height() > screen.availableArea().height();
}

DisplayMetrics ScreenFit::layoutMetrics(const DisplayMetrics& screen, QMargins frame)
{
    DisplayMetrics layout = screen;
    if (wantsCompactLayout(screen, frame))
        layout.dpiX = layout.dpiY = CompactFromDpi;
    return layout;
}

ScreenFit::Sizes ScreenFit::fit(QSize wanted, QSize minimum, const QRect& workArea, QMargins frame)
{
    const QSize room = workArea.size().shrunkBy(frame).expandedTo(QSize(1, 1));
    Sizes sizes;
    sizes.minimum = minimum.boundedTo(room);
    sizes.size = wanted.boundedTo(room).expandedTo(sizes.minimum);
    return sizes;
}

QPoint ScreenFit::placeInside(const QRect& frame, const QRect& workArea)
{
    // Right and bottom first, so a frame larger than the work area keeps its top-left
    // corner (the title bar) in sight.
    const int x = std::max(workArea.left(), std::min(frame.left(), workArea.left() + workArea.width() - frame.width()));
    const int y = std::max(workArea.top(), std::min(frame.top(), workArea.top() + workArea.height() - frame.height()));
    return {x, y};
}

} // namespace deskpanel
