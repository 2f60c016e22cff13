#include "ui/views/OverviewPainter.h"

#include "app/DeskPanelApp.h"
#include "ui/controls/FontMapper.h"
#include "ui/views/MeterPainter.h"
#include "ui/views/PartsInArea.h"
#include "ui/views/StripText.h"

#include <QPainter>

namespace deskpanel {
namespace {

constexpr int Dpi = 96;
// A unit name up to the name field's width is centred.
constexpr int NameFieldWidth = 161;

} // namespace

const QColor OverviewPainter::Background(80, 96, 128);

OverviewPainter::OverviewPainter(DeskPanelApp& app)
    : m_app(app),
      m_unitNameFont(FontMapper::font(QStringLiteral("Arial Black"), 80, 400, Dpi)),
      m_numberFont(FontMapper::font(QStringLiteral("Arial Black"), 90, 400, Dpi)),
      m_gainFont(FontMapper::font(QStringLiteral("Arial"), 66, 700, Dpi)),
      m_linkFont(FontMapper::font(QStringLiteral("Arial Black"), 70, 300, Dpi))
{}

void OverviewPainter::paint(QPainter& p, const QRect& area)
{
    p.fillRect(area, Background);
    const int firstRow = std::max(0, area.top() / OverviewLayout::RowHeight);
    const int lastRow = std::min(OverviewLayout::Rows - 1, area.bottom() / OverviewLayout::RowHeight);
    if (firstRow > lastRow || area.left() >= m_layout.totalWidth())
        return;
    const int first = firstRow * 2, last = lastRow * 2 + 1;
    paintUnits(p, area, first, last);
    paintChannels(p, area, first, last);
    paintMeters(p, area, first, last);
}

void OverviewPainter::paintUnits(QPainter& p, const QRect& area, int first, int last)
{
    const Project& project = m_app.project();
    auto each = [&](Unit part, auto&& draw) { forEachUnitPart(m_layout, part, first, last, area, draw); };
    p.setFont(m_unitNameFont);
    each(Unit::TopUnitLeft, [&](int, const QRect& r) { m_pictures.draw(p, 198, r); });
    each(Unit::UnitName, [&](int u, const QRect& r) {
        m_pictures.draw(p, 200, r);
        StripText::drawUnitName(p, r, QString::fromStdString(project.units[static_cast<std::size_t>(u)].name), 4,
                                NameFieldWidth);
    });
    each(Unit::TopUnitRight, [&](int, const QRect& r) { m_pictures.draw(p, 199, r); });
}

void OverviewPainter::paintChannels(QPainter& p, const QRect& area, int firstUnit, int lastUnit)
{
    const ChannelControl& channels = m_app.channels();
    const int first = firstUnit * ChannelsPerUnit, last = lastUnit * ChannelsPerUnit + ChannelsPerUnit - 1;
    auto each = [&](Part part, auto&& draw) { forEachChannelPart(m_layout, part, first, last, area, draw); };
    p.setFont(m_numberFont);
    each(Part::TopNumber, [&](int c, const QRect& r) {
        m_pictures.draw(p, 251, r);
        StripText::drawCentred(p, r, QString::number(c + 1), StripText::NumberWhite);
        if (m_app.project().recallSafes.any(c))
            StripText::drawSafeMark(p, r);
    });
    each(Part::RightEdge, [&](int, const QRect& r) { m_pictures.draw(p, 254, r); });
    forEachUnitPart(m_layout, Unit::RightVertcialEdge, firstUnit, lastUnit, area,
                    [&](int, const QRect& r) { m_pictures.draw(p, 290, r); });
    p.setFont(m_gainFont);
    each(Part::BigDB, [&](int c, const QRect& r) {
        m_pictures.draw(p, 212, r);
        StripText::drawCentred(p, r, QString::fromStdString(channels.overviewGainText(c)), StripText::FieldBlue);
    });
    each(Part::RangeAndPeak, [&](int, const QRect& r) { m_pictures.draw(p, 211, r); });
    p.setFont(m_linkFont);
    each(Part::SetLink, [&](int c, const QRect& r) {
        m_pictures.draw(p, 148, r);
        const std::string label = linkGroupLabel(channels.settings(c).linkGroup);
        StripText::drawCentred(p, r.translated(0, 4), QString::fromStdString(label), StripText::FieldBlue);
    });
}

// A meter that has had a reading is drawn from its state; one that has not keeps its
// picture.
void OverviewPainter::paintMeters(QPainter& p, const QRect& area, int firstUnit, int lastUnit)
{
    const Metering& metering = m_app.metering();
    const MeterLook look = MeterLook::fromPrefs(m_app.project().prefs);
    for (int c = firstUnit * ChannelsPerUnit; c < (lastUnit + 1) * ChannelsPerUnit; ++c) {
        const QRect r = m_layout.channelRect(Part::RangeAndPeak, c);
        if (MeterPainter::paintedArea(r).intersects(area) && metering.hold(MeterView::Overview, c).readingCount() > 0)
            MeterPainter::paintOverview(p, r, metering.meter(MeterView::Overview, c), look);
    }
}

} // namespace deskpanel
