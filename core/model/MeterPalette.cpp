#include "core/model/MeterPalette.h"

#include <algorithm>
#include <cmath>

namespace deskpanel {

namespace {

struct ColourStop {
    int position;
    int red;
    int green;
    int blue;
};

constexpr std::array<ColourStop, 21> PaletteStops{{
    {0, 25, 161, 73},     {220, 29, 161, 73},   {424, 33, 162, 73},   {628, 42, 163, 73},   {832, 53, 164, 73},
    {1036, 73, 168, 73},  {1240, 86, 171, 72},  {1444, 100, 175, 70}, {1648, 114, 179, 69}, {1852, 127, 183, 68},
    {2056, 142, 188, 66}, {2464, 157, 195, 65}, {2668, 172, 201, 61}, {2872, 190, 209, 58}, {3076, 213, 220, 53},
    {3280, 242, 235, 44}, {3484, 239, 197, 35}, {3668, 235, 158, 32}, {3872, 229, 117, 37}, {3983, 226, 73, 39},
    {4095, 226, 73, 38},
}};

// start + (x - p) x slope truncated towards zero, in exact integer arithmetic: the sum
// is never negative, so truncation is the floor of the step.
int interpolate(int start, int end, int offset, int width)
{
    const int step = (end - start) * offset;
    const int floorStep = step >= 0 ? step / width : -((-step + width - 1) / width);
    return start + floorStep;
}

struct LevelStep {
    int above;
    Rgb colour;
};

constexpr std::array<LevelStep, 19> LevelSteps{{
    {3872, {226, 73, 38}},  {3688, {229, 117, 39}}, {3484, {235, 158, 37}}, {3280, {239, 197, 32}},
    {3076, {242, 235, 25}}, {2872, {213, 220, 44}}, {2668, {190, 209, 53}}, {2464, {172, 201, 58}},
    {2260, {157, 195, 61}}, {2056, {142, 188, 65}}, {1852, {127, 183, 66}}, {1648, {114, 179, 68}},
    {1444, {100, 175, 69}}, {1240, {86, 171, 70}},  {1036, {73, 168, 72}},  {832, {53, 164, 73}},
    {628, {42, 163, 73}},   {424, {33, 162, 73}},   {220, {29, 161, 73}},
}};
constexpr Rgb LowestLevelColour{25, 161, 73};

} // namespace

MeterPalette::MeterPalette()
{
    for (std::size_t k = 0; k + 1 < PaletteStops.size(); ++k) {
        const ColourStop& from = PaletteStops[k];
        const ColourStop& to = PaletteStops[k + 1];
        const int width = to.position - from.position;
        for (int x = from.position; x < to.position && x < Size; ++x) {
            const int offset = x - from.position;
            m_colours[static_cast<std::size_t>(x)] = Rgb{
                static_cast<std::uint8_t>(interpolate(from.red, to.red, offset, width)),
                static_cast<std::uint8_t>(interpolate(from.green, to.green, offset, width)),
                static_cast<std::uint8_t>(interpolate(from.blue, to.blue, offset, width)),
            };
        }
    }
}

const MeterPalette& MeterPalette::shared()
{
    static const MeterPalette palette;
    return palette;
}

Rgb MeterPalette::at(int index) const
{
    return m_colours[static_cast<std::size_t>(std::clamp(index, 0, Size - 1))];
}

Rgb levelStepColour(int vuHeight)
{
    for (const LevelStep& step : LevelSteps) {
        if (vuHeight > step.above)
            return step.colour;
    }
    return LowestLevelColour;
}

int barStripePaletteIndex(int vuHeight, int y, int y0, int y1, int redZoneThreshold)
{
    // A bar of no height has no stripes below its top; keep the top colour rather than
    // dividing by zero.
    if (y1 <= y0)
        return std::clamp(vuHeight, 0, MeterPalette::Size - 1);
    const double k = (static_cast<double>(redZoneThreshold) - 4) * 0.0278 + 0.5;
    const double h = vuHeight;
    const double index = h + (static_cast<double>(y) - y0) * (1 - h) / (static_cast<double>(y1) - y0) * k;
    // Clamp in floating point first: a wild threshold must not overflow the conversion.
    const double clamped = std::clamp(index, 0.0, static_cast<double>(MeterPalette::Size - 1));
    return static_cast<int>(clamped);
}

Rgb barStripeColour(int vuHeight, int y, int y0, int y1, int redZoneThreshold)
{
    return MeterPalette::shared().at(barStripePaletteIndex(vuHeight, y, y0, y1, redZoneThreshold));
}

} // namespace deskpanel
