#pragma once
#include "core/model/Rgb.h"

#include <array>

namespace deskpanel {

// The 4095 colours of the meter bars, from green at index 0 through yellow to red at
// 4094, interpolated between 21 colour stops. Built once, before the first meter is
// drawn.
class MeterPalette {
public:
    static constexpr int Size = 4095;

    MeterPalette();

    // The one palette of the program.
    static const MeterPalette& shared();

    // Any index is accepted: it is clamped into 0..4094, because a full-scale vuHeight
    // of 4095 (the simulation's top segment) would otherwise read one past the end.
    Rgb at(int index) const;

private:
    std::array<Rgb, Size> m_colours;
};

// The colour of the held-peak mark: a step function of the vuHeight.
Rgb levelStepColour(int vuHeight);

// The bar is drawn from its top y0 down to the meter's bottom y1 in 2-pixel stripes;
// the stripe at y takes palette index trunc(H + (y - y0) x (1 - H) / (y1 - y0) x k)
// with k = (redZoneThreshold - 4) x 0.0278 + 0.5, clamped into 0..4094. The top stripe
// has the level's own colour, and the lower stripes fall towards green, less far for a
// lower threshold.
int barStripePaletteIndex(int vuHeight, int y, int y0, int y1, int redZoneThreshold);
Rgb barStripeColour(int vuHeight, int y, int y0, int y1, int redZoneThreshold);

} // namespace deskpanel
