#include "ui/main/StripScroller.h"

#include "app/DeskPanelApp.h"
#include "ui/controls/GainFader.h"
#include "ui/controls/ScrollBar.h"
#include "ui/views/StripView.h"

#include <QApplication>

#include <algorithm>
#include <optional>

namespace deskpanel {

namespace {

// Where a scroll code moves a view at `current`; nothing for a code that moves nothing.
// The left/right codes share their values with up/down.
std::optional<int> stepped(int code, int current, int line, int page, int end, int thumb)
{
    switch (code) {
    case ScrollBar::LineUp: return current - line;
    case ScrollBar::LineDown: return current + line;
    case ScrollBar::PageUp: return current - page;
    case ScrollBar::PageDown: return current + page;
    case ScrollBar::ThumbTrack:
    case ScrollBar::ThumbPosition: return thumb;
    case ScrollBar::Top: return 0;
    case ScrollBar::Bottom: return end;
    default: return std::nullopt;
    }
}

} // namespace

StripScroller::StripScroller(DeskPanelApp& app, StripView& underview, StripView& overview, ScrollBar* underviewBar,
                             ScrollBar* overviewBar, QObject* parent)
    : QObject(parent),
      m_app(app),
      m_underview(underview),
      m_overview(overview),
      m_underviewBar(underviewBar),
      m_overviewBar(overviewBar)
{
    if (m_underviewBar) {
        m_underviewBar->setScrollRange(0, UnderviewMax);
        connect(m_underviewBar, &ScrollBar::scrolled, this, [this](int code, int pos) { scrollUnderview(code, pos); });
    }
    if (m_overviewBar) {
        m_overviewBar->setScrollRange(0, m_overviewMax);
        connect(m_overviewBar, &ScrollBar::scrolled, this, [this](int code, int pos) { scrollOverview(code, pos); });
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { keepInSight(now); });
}

// A control of the shown view that takes the keyboard focus is scrolled into sight.
void StripScroller::keepInSight(QWidget* focused)
{
    StripView& view = m_overviewShown ? m_overview : m_underview;
    if (!focused || !view.isAncestorOf(focused))
        return;
    const QRect r(focused->mapTo(&view, QPoint(0, 0)), focused->size());
    if (view.rect().contains(r))
        return;
    if (m_overviewShown) {
        const int shift = r.top() < 0 ? r.top() : r.bottom() - view.height() + 1;
        setOverviewPosition(m_overviewPos + shift);
    } else {
        const int shift = r.left() < 0 ? r.left() : r.right() - view.width() + 1;
        setUnderviewPosition(m_underviewPos + shift);
    }
}

void StripScroller::showOverview(bool overview)
{
    m_overviewShown = overview;
    // Meters and a recall's order of sends follow the view shown.
    m_app.metering().setShownView(overview ? MeterView::Overview : MeterView::Underview);
    m_app.scenes().setOverviewShown(overview);
    StripView& shown = overview ? m_overview : m_underview;
    StripView& hidden = overview ? m_underview : m_overview;
    hidden.hide();
    shown.refreshFromModel();
    shown.show();
    if (m_underviewBar)
        m_underviewBar->setVisible(!overview);
    if (m_overviewBar)
        m_overviewBar->setVisible(overview);
}

void StripScroller::scrollUnderview(int code, int thumbPosition)
{
    // The thumb position arrives as a 16-bit value: past 32767 it reads negative.
    const int thumb = thumbPosition < 0 ? thumbPosition + 65536 : thumbPosition;
    if (const auto next = stepped(code, m_underviewPos, UnderviewLine, UnderviewPage, UnderviewMax, thumb))
        setUnderviewPosition(*next);
}

void StripScroller::scrollOverview(int code, int thumbPosition)
{
    // The strips must not slide away under a held fader.
    if (GainFader::isAnyActive()) {
        if (m_overviewBar)
            m_overviewBar->setScrollPos(m_overviewPos); // a bar that moved first goes back
        return;
    }
    const int page = m_maximised ? OverviewPageMaximised : OverviewPageNormal;
    if (const auto next = stepped(code, m_overviewPos, OverviewLine, page, m_overviewMax, thumbPosition))
        setOverviewPosition(*next);
}

void StripScroller::setUnderviewPosition(int position)
{
    moveView(m_underview, m_underviewBar, m_underviewPos, std::clamp(position, 0, UnderviewMax));
}

void StripScroller::setOverviewPosition(int position)
{
    moveView(m_overview, m_overviewBar, m_overviewPos, std::clamp(position, 0, m_overviewMax));
}

void StripScroller::moveView(StripView& view, ScrollBar* bar, int& current, int position)
{
    if (bar)
        bar->setScrollPos(position);
    if (position == current)
        return;
    current = position;
    view.setScrollOffset(position);
}

void StripScroller::scrollToUnit(int unit)
{
    if (unit < 1 || unit > 48)
        return;
    setUnderviewPosition(673 * (unit - 1) - 224);
    setOverviewPosition(84 * (unit - 1) - 84);
}

void StripScroller::setMaximised(bool maximised, bool tallScreen)
{
    m_maximised = maximised;
    m_overviewMax = maximised && tallScreen ? OverviewMaxTall : OverviewMaxNormal;
    if (m_overviewBar)
        m_overviewBar->setScrollRange(0, m_overviewMax);
    setOverviewPosition(m_overviewPos);
}

} // namespace deskpanel
