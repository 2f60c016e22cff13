#pragma once
#include "ui/views/UnitBlockPart.h"

#include <QRect>

#include <array>

namespace deskpanel {

// Where everything of the compact view lies, in content coordinates (the whole 48-unit
// layout, before scrolling): two unit blocks of 496 x 168 pixels a row, 24 rows, each
// block eight channel strips 60 pixels wide under a unit header.
class OverviewLayout {
public:
    using UnitPart = UnitBlockPart;
    enum class ChannelPart {
        TopNumber,
        Mute,
        Pol,
        Pad,
        Phantom48V,
        RangeAndPeak,
        SetLink,
        BigDB,
        RightEdge,
        VerticalSliders,
        Count
    };

    static constexpr int UnitPitchX = 496;
    static constexpr int RowHeight = 168;
    static constexpr int StripPitch = 60;
    static constexpr int Rows = 24;

    static const OverviewLayout& shared();

    // unit 0..47, channel 0..383.
    QRect unitRect(UnitPart part, int unit) const;
    QRect channelRect(ChannelPart part, int channel) const;
    // The width of the two unit blocks of a row, summed from the header and edge lines.
    int totalWidth() const { return m_totalWidth; }
    int totalHeight() const { return Rows * RowHeight; }

private:
    OverviewLayout();

    std::array<QRect, static_cast<int>(UnitPart::Count)> m_unit{};
    std::array<QRect, static_cast<int>(ChannelPart::Count)> m_channel{};
    int m_totalWidth = 0;
};

} // namespace deskpanel
