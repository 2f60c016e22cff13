#pragma once
#include <QObject>
#include <QRect>

class QWidget;

namespace deskpanel {
class ScrollBar;

class DeskPanelApp;
class StripView;

// The two channel-strip views, their scroll bars and which one is shown. The views are
// viewport-sized and never moved: scrolling hands them a new offset.
class StripScroller : public QObject {
public:
    static constexpr int UnderviewMax = 31244;
    static constexpr int UnderviewLine = 82;
    static constexpr int UnderviewPage = 672;
    static constexpr int OverviewLine = 168;
    static constexpr int OverviewPageNormal = 504;
    static constexpr int OverviewPageMaximised = 672;
    static constexpr int OverviewMaxNormal = 3528;
    static constexpr int OverviewMaxTall = 3360;

    StripScroller(DeskPanelApp& app, StripView& underview, StripView& overview, ScrollBar* underviewBar,
                  ScrollBar* overviewBar, QObject* parent);

    bool overviewShown() const { return m_overviewShown; }
    // Shows the Overview or the Underview; the view shown reads everything from the model.
    void showOverview(bool overview);

    // Scroll codes of ScrollBar.
    void scrollUnderview(int code, int thumbPosition = 0);
    void scrollOverview(int code, int thumbPosition = 0);
    void setUnderviewPosition(int position);
    void setOverviewPosition(int position);
    int underviewPosition() const { return m_underviewPos; }
    int overviewPosition() const { return m_overviewPos; }

    // Both views to `unit` (1..48), each clamped to its range.
    void scrollToUnit(int unit);

    void setMaximised(bool maximised, bool tallScreen);
    int overviewMax() const { return m_overviewMax; }

    ScrollBar* underviewBar() const { return m_underviewBar; }
    ScrollBar* overviewBar() const { return m_overviewBar; }

private:
    // Puts one view and its bar at `position`, already clamped.
    void keepInSight(QWidget* focused);
    static void moveView(StripView& view, ScrollBar* bar, int& current, int position);

    DeskPanelApp& m_app;
    StripView& m_underview;
    StripView& m_overview;
    ScrollBar* m_underviewBar;
    ScrollBar* m_overviewBar;
    bool m_overviewShown = false;
    bool m_maximised = false;
    int m_underviewPos = 0;
    int m_overviewPos = 0;
    int m_overviewMax = OverviewMaxNormal;
};

} // namespace deskpanel
