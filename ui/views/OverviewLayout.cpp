#include "ui/views/OverviewLayout.h"

#include "core/model/Limits.h"
#include "ui/views/LayoutLine.h"

namespace deskpanel {
namespace {

// The stored lines, exactly as kept (double blanks included), with the vertical shift
// each kind of line takes within its row.
struct StoredLine {
    const char* text;
    int dy;
};

constexpr StoredLine UnitLines[] = {
    {"TopUnitLeft -0 23 180 49", -23},
    {"UnitName 180 23 341 49", -23},
    {"TopUnitRight 341 23 483 49", -23},
    {"RightVertcialEdge 482 0 496 168", 0},
};

constexpr StoredLine ChannelLines[] = {
    {"TopNumber 4 61 59 76", -33},   {"Mute 34 119 56 137", -72},
    {"Pol  36 138 54 157", -72},     {"Pad  36 157 54 175", -72},
    {"48v  36 176 55 194", -72},     {"RangeAndPeak 22 80 31 175", -32},
    {"SetLink 33 126 59 147", -2},   {"BigDB 5 177 57 194", -32},
    {"RightEdge 60 57 65 200", -32}, {"VerticalSliders 5 165 20 267", -120},
};

} // namespace

const OverviewLayout& OverviewLayout::shared()
{
    static const OverviewLayout layout;
    return layout;
}

OverviewLayout::OverviewLayout()
{
    for (std::size_t i = 0; i < m_unit.size(); ++i)
        m_unit[i] = parseLayoutLine(UnitLines[i].text).translated(0, UnitLines[i].dy);
    for (std::size_t i = 0; i < m_channel.size(); ++i)
        m_channel[i] = parseLayoutLine(ChannelLines[i].text).translated(0, ChannelLines[i].dy);
    // Both units of the first row: header left, header right, name field and edge.
    for (int unit = 0; unit < 2; ++unit)
        for (const QRect& r : m_unit)
            m_totalWidth += r.width();
}

QRect OverviewLayout::unitRect(UnitPart part, int unit) const
{
    if (unit < 0 || unit >= MaxUnits)
        return {};
    const QRect& r = m_unit[static_cast<std::size_t>(part)];
    return r.translated(UnitPitchX * (unit % 2), RowHeight * (unit / 2));
}

QRect OverviewLayout::channelRect(ChannelPart part, int channel) const
{
    if (!isValidChannel(channel))
        return {};
    const int unit = channel / ChannelsPerUnit;
    const int input = channel % ChannelsPerUnit;
    const QRect& r = m_channel[static_cast<std::size_t>(part)];
    return r.translated(UnitPitchX * (unit % 2) + StripPitch * input, RowHeight * (unit / 2));
}

} // namespace deskpanel
