#include "ui/views/UnderviewLayout.h"

#include "core/model/Limits.h"
#include "ui/views/LayoutLine.h"

namespace deskpanel {
namespace {

// The stored lines, exactly as kept (tabs and repeated blanks included). The header
// lines keep their height; every other line moves up 23 pixels.
constexpr const char* UnitLines[] = {
    "TopUnitLeft\t  2  0 210 36",
    "UnitName\t\t210  0 420 36",
    "TopUnitRight\t420  0 659 36",
    "RightVertcialEdge 658 23 673 499",
};
constexpr int HeaderLines = 3;

constexpr const char* ChannelLines[] = {
    "Pol 8 100 43 124",       "Pad 44 100 79 124",      "48v 8 127 43 151",           "Mute 43 127 78 151",
    "Link 8 413 47 437",      "SetLink 48 413 81 437",  "TopNumber 6 61 82 94",       "BottomNumber 8 469 85 495",
    "BigDB 8 381 79 411",     "LittleDB 34 190 55 375", "RangeAndPeak 57 168 78 370", "ChannelScribble 4 439 83 467",
    "RightEdge 82 58 87 500",
};
constexpr int LineShift = -23;

// The fader has a rectangle of its own, moved up with the lines and then down 108.
constexpr const char* FaderLine = "Fader 6 42 38 276";
constexpr int FaderShift = 108;

} // namespace

const UnderviewLayout& UnderviewLayout::shared()
{
    static const UnderviewLayout layout;
    return layout;
}

UnderviewLayout::UnderviewLayout()
{
    for (int i = 0; i < static_cast<int>(UnitPart::Count); ++i)
        m_unit[static_cast<std::size_t>(i)] =
            parseLayoutLine(UnitLines[i]).translated(0, i < HeaderLines ? 0 : LineShift);
    for (std::size_t i = 0; i < std::size(ChannelLines); ++i)
        m_channel[i] = parseLayoutLine(ChannelLines[i]).translated(0, LineShift);
    m_channel[static_cast<std::size_t>(ChannelPart::Fader)] =
        parseLayoutLine(FaderLine).translated(0, LineShift + FaderShift);
}

QRect UnderviewLayout::unitRect(UnitPart part, int unit) const
{
    if (unit < 0 || unit >= MaxUnits)
        return {};
    return m_unit[static_cast<std::size_t>(part)].translated(UnitPitch * unit, 0);
}

QRect UnderviewLayout::channelRect(ChannelPart part, int channel) const
{
    if (!isValidChannel(channel))
        return {};
    const int x = UnitPitch * (channel / ChannelsPerUnit) + StripPitch * (channel % ChannelsPerUnit);
    return m_channel[static_cast<std::size_t>(part)].translated(x, 0);
}

} // namespace deskpanel
