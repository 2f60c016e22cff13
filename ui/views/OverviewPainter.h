#pragma once
#include "ui/views/OverviewLayout.h"
#include "ui/views/StripPictures.h"

#include <QFont>

class QPainter;

namespace deskpanel {

class DeskPanelApp;

// Paints the compact view's content from the model: unit headers, number plates, strip
// and block edges, gain texts, meter wells and link fields, in that order, then the
// meters, only where they meet the area asked for.
class OverviewPainter {
public:
    static const QColor Background;

    explicit OverviewPainter(DeskPanelApp& app);

    // `area` is in content coordinates; the painter is already clipped to it.
    void paint(QPainter& p, const QRect& area);

private:
    using Unit = OverviewLayout::UnitPart;
    using Part = OverviewLayout::ChannelPart;

    void paintUnits(QPainter& p, const QRect& area, int first, int last);
    void paintChannels(QPainter& p, const QRect& area, int firstUnit, int lastUnit);
    void paintMeters(QPainter& p, const QRect& area, int firstUnit, int lastUnit);

    DeskPanelApp& m_app;
    const OverviewLayout& m_layout = OverviewLayout::shared();
    StripPictures m_pictures;
    QFont m_unitNameFont;
    QFont m_numberFont;
    QFont m_gainFont;
    QFont m_linkFont;
};

} // namespace deskpanel
