#pragma once
#include <QWidget>

namespace deskpanel {

// What the main window asks of the two channel-strip views (UnderviewWindow scrolls
// horizontally, OverviewWindow vertically). A view is exactly as large as the part of the
// strips the window shows and is never moved: it paints its content shifted by the scroll
// offset the window gives it. A view mirrors the model: it reads switch states, gains,
// names and meters from the application whenever it is shown or told of a change, so the
// window keeps no copy of them.
class StripView : public QWidget {
public:
    using QWidget::QWidget;

    // The content's position under the view's left (Underview) or top (Overview) edge, in
    // pixels, 0..contentLength() - the view's length. The view repaints what changed.
    virtual void setScrollOffset(int offset) = 0;
    virtual int scrollOffset() const = 0;
    // The whole content's length along the scrolling axis (Underview 32256).
    virtual int contentLength() const = 0;
    // Where the block of `unit` (1..48) starts along the scrolling axis, for "scroll the
    // strips to this unit" (the window clamps it to its scroll range).
    virtual int unitOffset(int unit) const = 0;
    // Reads every switch, fader, text and meter again from the model and repaints:
    // called when the view is shown and when the project has been replaced.
    virtual void refreshFromModel() = 0;
};

} // namespace deskpanel
