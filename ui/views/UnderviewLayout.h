#pragma once
#include "ui/views/UnitBlockPart.h"

#include <QRect>

#include <array>

namespace deskpanel {

// Where everything of the full-size view lies, in content coordinates (the whole row of
// 48 unit blocks, before scrolling): blocks 672 pixels wide, each with eight channel
// strips 82 pixels wide under a unit header.
class UnderviewLayout {
public:
    using UnitPart = UnitBlockPart;
    enum class ChannelPart {
        Pol,
        Pad,
        Phantom48V,
        Mute,
        Link,
        SetLink,
        TopNumber,
        BottomNumber,
        BigDB,
        LittleDB,
        RangeAndPeak,
        ChannelScribble,
        RightEdge,
        Fader,
        Count
    };

    static constexpr int UnitPitch = 672;
    static constexpr int StripPitch = 82;
    static constexpr int Height = 501;
    // The top 14 pixels of a meter hold its readout box.
    static constexpr int ReadoutBoxPx = 14;

    static const UnderviewLayout& shared();

    // unit 0..47, channel 0..383.
    QRect unitRect(UnitPart part, int unit) const;
    QRect channelRect(ChannelPart part, int channel) const;

private:
    UnderviewLayout();

    std::array<QRect, static_cast<int>(UnitPart::Count)> m_unit{};
    std::array<QRect, static_cast<int>(ChannelPart::Count)> m_channel{};
};

} // namespace deskpanel
