#pragma once
#include "ui/main/MainLayout.h"

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace deskpanel {

// How the main window meets the screen it opens on: which of the two layouts it takes,
// and the sizes that keep its frame inside the work area so that it can always be seen
// whole and made smaller.
struct ScreenFit {
    // The window manager's frame around the window, as far as it is known before the
    // window is first shown: a title bar and thin borders.
    static constexpr QMargins FrameAllowance{4, 32, 4, 4};

    // The compact layout (the one made for 120 pixels per inch) is taken when the screen
    // has at least 120 device pixels per inch, or when the normal window with its frame
    // would be taller than the work area. The answer is `screen` itself otherwise, or with
    // 120 pixels per inch for the layout.
    static bool wantsCompactLayout(const DisplayMetrics& screen, QMargins frame = FrameAllowance);
    static DisplayMetrics layoutMetrics(const DisplayMetrics& screen, QMargins frame = FrameAllowance);

    struct Sizes {
        QSize size; // the window without its frame
        QSize minimum;
    };
    // `wanted` and `minimum` cut to what the work area leaves inside the frame; the
    // size is at least the minimum.
    static Sizes fit(QSize wanted, QSize minimum, const QRect& workArea, QMargins frame);
    // Where a frame of `frame`'s size goes so that it lies inside the work area as far as
    // it can, moved as little as it can; its top-left corner.
    static QPoint placeInside(const QRect& frame, const QRect& workArea);
};

} // namespace deskpanel
