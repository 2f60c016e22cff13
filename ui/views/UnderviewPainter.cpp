#include "ui/views/UnderviewPainter.h"

#include "app/DeskPanelApp.h"
#include "ui/controls/FontMapper.h"
#include "ui/views/MeterPainter.h"
#include "ui/views/PartsInArea.h"
#include "ui/views/StripText.h"

#include <QPainter>

namespace deskpanel {
namespace {

// The fonts are made for a screen of 96 pixels per inch, as the program's windows are.
constexpr int Dpi = 96;

} // namespace

const QColor UnderviewPainter::Background(80, 96, 128);

UnderviewPainter::UnderviewPainter(DeskPanelApp& app)
    : m_app(app),
      m_unitNameFont(FontMapper::font(QStringLiteral("Arial Black"), 100, 400, Dpi)),
      m_numberAboveFont(FontMapper::font(QStringLiteral("Arial Black"), 150, 400, Dpi)),
      m_numberBelowFont(FontMapper::font(QStringLiteral("Arial Black"), 130, 400, Dpi)),
      m_nameFont(FontMapper::font(QStringLiteral("Microsoft Sans Serif"), 71, 900, Dpi)),
      m_gainFont(FontMapper::font(QStringLiteral("Arial"), 136, 700, Dpi)),
      m_linkFont(FontMapper::font(QStringLiteral("Arial Black"), 90, 300, Dpi)),
      m_readoutFont(FontMapper::font(QStringLiteral("Arial"), 80, 400, Dpi))
{}

int UnderviewPainter::scalePictureId(const ProjectPrefs& prefs)
{
    const MeterScale scale = MeterScale::fromPrefs(prefs);
    if (scale.kind() == MeterScaleKind::Dbfs)
        return 149;
    switch (scale.scaleLevelDb()) {
    case 18: return 155;
    case 15: return 154;
    case 12: return 153;
    case 9: return 150;
    default: return 156;
    }
}

void UnderviewPainter::paint(QPainter& p, const QRect& area)
{
    p.fillRect(area, Background);
    // The block edges reach a little into the next block.
    const int first = std::max(0, (area.left() - 16) / UnderviewLayout::UnitPitch);
    const int last = std::min(MaxUnits - 1, (area.right() + 16) / UnderviewLayout::UnitPitch);
    if (first > last)
        return;
    paintUnits(p, area, first, last);
    paintChannels(p, area, first * ChannelsPerUnit, last * ChannelsPerUnit + ChannelsPerUnit - 1);
    paintMeters(p, area, first * ChannelsPerUnit, last * ChannelsPerUnit + ChannelsPerUnit - 1);
}

void UnderviewPainter::paintUnits(QPainter& p, const QRect& area, int first, int last)
{
    const Project& project = m_app.project();
    auto each = [&](Unit part, auto&& draw) { forEachUnitPart(m_layout, part, first, last, area, draw); };
    p.setFont(m_unitNameFont);
    each(Unit::TopUnitLeft, [&](int, const QRect& r) { m_pictures.draw(p, 171, r); });
    each(Unit::UnitName, [&](int u, const QRect& r) {
        m_pictures.draw(p, 170, r);
        StripText::drawUnitName(p, r, QString::fromStdString(project.units[static_cast<std::size_t>(u)].name), 8,
                                r.width() - 20);
    });
    each(Unit::TopUnitRight, [&](int, const QRect& r) { m_pictures.draw(p, 172, r); });
}

void UnderviewPainter::paintChannels(QPainter& p, const QRect& area, int first, int last)
{
    const Project& project = m_app.project();
    const ChannelControl& channels = m_app.channels();
    auto each = [&](Part part, auto&& draw) { forEachChannelPart(m_layout, part, first, last, area, draw); };
    p.setFont(m_numberAboveFont);
    each(Part::TopNumber, [&](int c, const QRect& r) {
        m_pictures.draw(p, 251, r);
        StripText::drawCentred(p, r, QString::number(c + 1), StripText::NumberWhite);
        if (m_app.project().recallSafes.any(c))
            StripText::drawSafeMark(p, r);
    });
    p.setFont(m_numberBelowFont);
    each(Part::BottomNumber, [&](int c, const QRect& r) {
        m_pictures.draw(p, 257, r);
        StripText::drawCentred(p, r, QString::number(c + 1), StripText::NumberWhite);
    });
    each(Part::RightEdge, [&](int, const QRect& r) { m_pictures.draw(p, 254, r); });
    forEachUnitPart(m_layout, Unit::RightVertcialEdge, first / ChannelsPerUnit, last / ChannelsPerUnit, area,
                    [&](int, const QRect& r) { m_pictures.draw(p, 260, r); });
    p.setFont(m_gainFont);
    each(Part::BigDB, [&](int c, const QRect& r) {
        m_pictures.draw(p, 253, r);
        StripText::drawCentred(p, r, QString::fromStdString(channels.underviewGainText(c)), StripText::FieldBlue);
    });
    each(Part::RangeAndPeak, [&](int, const QRect& r) { m_pictures.draw(p, 256, r); });
    p.setFont(m_linkFont);
    each(Part::SetLink, [&](int c, const QRect& r) {
        m_pictures.draw(p, 249, r);
        const std::string label = linkGroupLabel(channels.settings(c).linkGroup);
        StripText::drawCentred(p, r.translated(-4, 0), QString::fromStdString(label), StripText::FieldBlue);
    });
    p.setFont(m_nameFont);
    each(Part::ChannelScribble, [&](int c, const QRect& r) {
        m_pictures.draw(p, 252, r);
        const std::string& name = project.channels[static_cast<std::size_t>(c)].name;
        StripText::drawChannelName(p, r, StripText::channelName(name, Dpi));
    });
    const int scaleId = scalePictureId(project.prefs);
    each(Part::LittleDB, [&](int, const QRect& r) { m_pictures.draw(p, scaleId, r); });
}

// A meter that has had a reading (or shows the reset mark) is drawn from its state; one
// that has not keeps its picture.
void UnderviewPainter::paintMeters(QPainter& p, const QRect& area, int first, int last)
{
    const Metering& metering = m_app.metering();
    const MeterLook look = MeterLook::fromPrefs(m_app.project().prefs);
    for (int c = first; c <= last; ++c) {
        const QRect r = m_layout.channelRect(Part::RangeAndPeak, c);
        if (!MeterPainter::paintedArea(r).intersects(area))
            continue;
        const MeterState& state = metering.meter(MeterView::Underview, c);
        if (metering.hold(MeterView::Underview, c).readingCount() > 0 || state.resetMarkShown)
            MeterPainter::paintUnderview(p, r, state, look, m_readoutFont);
    }
}

} // namespace deskpanel
