#pragma once
#include "core/model/ProjectPrefs.h"
#include "ui/views/StripPictures.h"
#include "ui/views/UnderviewLayout.h"

#include <QFont>

class QPainter;

namespace deskpanel {

class DeskPanelApp;

// Paints the full-size view's content from the model: the unit headers and edges, the
// number plates, gain, link and name fields, the meter scales and the meters, in that
// order, only where they meet the area asked for.
class UnderviewPainter {
public:
    static const QColor Background;

    explicit UnderviewPainter(DeskPanelApp& app);

    // `area` is in content coordinates; the painter is already clipped to it.
    void paint(QPainter& p, const QRect& area);

    // The scale picture the meter preferences call for.
    static int scalePictureId(const ProjectPrefs& prefs);

private:
    using Unit = UnderviewLayout::UnitPart;
    using Part = UnderviewLayout::ChannelPart;

    void paintUnits(QPainter& p, const QRect& area, int first, int last);
    void paintChannels(QPainter& p, const QRect& area, int first, int last);
    void paintMeters(QPainter& p, const QRect& area, int first, int last);

    DeskPanelApp& m_app;
    const UnderviewLayout& m_layout = UnderviewLayout::shared();
    StripPictures m_pictures;
    QFont m_unitNameFont;
    QFont m_numberAboveFont;
    QFont m_numberBelowFont;
    QFont m_nameFont;
    QFont m_gainFont;
    QFont m_linkFont;
    QFont m_readoutFont;
};

} // namespace deskpanel
