#include "ui/main/StripScroller.h"

#include "app/DeskPanelApp.h"
#include "ui/controls/ScrollBar.h"
#include "ui/views/StripView.h"

#include <algorithm>

namespace deskpanel {

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
    int next = m_underviewPos;
    switch (code) {
    case ScrollBar::LineLeft: next -= UnderviewLine; break;
    case ScrollBar::LineRight: next += UnderviewLine; break;
    case ScrollBar::PageLeft: next -= UnderviewPage; break;
    case ScrollBar::PageRight: next += UnderviewPage; break;
    case ScrollBar::ThumbTrack:
    case ScrollBar::ThumbPosition: next = thumbPosition < 0 ? thumbPosition + 65536 : thumbPosition; break;
    case ScrollBar::Left: next = 0; break;
    case ScrollBar::Right: next = UnderviewMax; break;
    default: return;
    }
    setUnderviewPosition(next);
}

void StripScroller::scrollOverview(int code, int thumbPosition)
{
    const int page = m_maximised ? OverviewPageMaximised : OverviewPageNormal;
    int next = m_overviewPos;
    switch (code) {
    case ScrollBar::LineUp: next -= OverviewLine; break;
    case ScrollBar::LineDown: next += OverviewLine; break;
    case ScrollBar::PageUp: next -= page; break;
    case ScrollBar::PageDown: next += page; break;
    case ScrollBar::ThumbTrack:
    case ScrollBar::ThumbPosition: next = thumbPosition; break;
    case ScrollBar::Top: next = 0; break;
    case ScrollBar::Bottom: next = m_overviewMax; break;
    default: return;
    }
    setOverviewPosition(next);
}

void StripScroller::setUnderviewPosition(int position)
{
    position = std::clamp(position, 0, UnderviewMax);
    if (m_underviewBar)
        m_underviewBar->setScrollPos(position);
    if (position == m_underviewPos)
        return;
    m_underviewPos = position;
    m_underview.setScrollOffset(position);
}

void StripScroller::setOverviewPosition(int position)
{
    position = std::clamp(position, 0, m_overviewMax);
    if (m_overviewBar)
        m_overviewBar->setScrollPos(position);
    if (position == m_overviewPos)
        return;
    m_overviewPos = position;
    m_overview.setScrollOffset(position);
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
