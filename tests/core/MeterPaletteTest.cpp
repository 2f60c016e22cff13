#include "core/model/MeterPalette.h"

#include <gtest/gtest.h>

#include <limits>

using namespace deskpanel;

TEST(MeterPalette, ColoursAtTheStops)
{
    struct Stop {
        int position;
        Rgb colour;
    };
    const Stop stops[] = {
        {0, {25, 161, 73}},     {220, {29, 161, 73}},   {424, {33, 162, 73}},   {628, {42, 163, 73}},
        {832, {53, 164, 73}},   {1036, {73, 168, 73}},  {1240, {86, 171, 72}},  {1444, {100, 175, 70}},
        {1648, {114, 179, 69}}, {1852, {127, 183, 68}}, {2056, {142, 188, 66}}, {2464, {157, 195, 65}},
        {2668, {172, 201, 61}}, {2872, {190, 209, 58}}, {3076, {213, 220, 53}}, {3280, {242, 235, 44}},
        {3484, {239, 197, 35}}, {3668, {235, 158, 32}}, {3872, {229, 117, 37}}, {3983, {226, 73, 39}},
    };
    const MeterPalette& palette = MeterPalette::shared();
    // The last stop, 4095, lies one past the palette: it only sets the final slope.
    for (const Stop& stop : stops)
        EXPECT_EQ(palette.at(stop.position), stop.colour) << "stop " << stop.position;
}

TEST(MeterPalette, ColoursBetweenTheStopsTruncateTowardsZero)
{
    const MeterPalette& palette = MeterPalette::shared();
    EXPECT_EQ(palette.at(110), (Rgb{27, 161, 73})); // 25 + 110 x 4/220 = 27
    EXPECT_EQ(palette.at(219), (Rgb{28, 161, 73})); // 28.98
    EXPECT_EQ(palette.at(2260), (Rgb{149, 191, 65})); // 149.5, 191.5, 65.5
    EXPECT_EQ(palette.at(3576), (Rgb{237, 177, 33})); // 237, 177.5, 33.5 on the way down
    EXPECT_EQ(palette.at(4094), (Rgb{226, 73, 38})); // 38.009
}

TEST(MeterPalette, AnyIndexIsClampedIntoThePalette)
{
    const MeterPalette& palette = MeterPalette::shared();
    EXPECT_EQ(palette.at(4095), palette.at(4094));
    EXPECT_EQ(palette.at(std::numeric_limits<int>::max()), palette.at(4094));
    EXPECT_EQ(palette.at(-1), palette.at(0));
    EXPECT_EQ(palette.at(std::numeric_limits<int>::min()), palette.at(0));
}

TEST(MeterPalette, LevelStepColourAtEachBoundary)
{
    struct Step {
        int boundary;
        Rgb above;
    };
    const Step steps[] = {
        {3872, {226, 73, 38}},  {3688, {229, 117, 39}}, {3484, {235, 158, 37}}, {3280, {239, 197, 32}},
        {3076, {242, 235, 25}}, {2872, {213, 220, 44}}, {2668, {190, 209, 53}}, {2464, {172, 201, 58}},
        {2260, {157, 195, 61}}, {2056, {142, 188, 65}}, {1852, {127, 183, 66}}, {1648, {114, 179, 68}},
        {1444, {100, 175, 69}}, {1240, {86, 171, 70}},  {1036, {73, 168, 72}},  {832, {53, 164, 73}},
        {628, {42, 163, 73}},   {424, {33, 162, 73}},   {220, {29, 161, 73}},
    };
    const Rgb lowest{25, 161, 73};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(steps[i].boundary);
        EXPECT_EQ(levelStepColour(steps[i].boundary + 1), steps[i].above);
        const Rgb below = i + 1 < std::size(steps) ? steps[i + 1].above : lowest;
        EXPECT_EQ(levelStepColour(steps[i].boundary), below);
    }
    EXPECT_EQ(levelStepColour(4095), (Rgb{226, 73, 38}));
    EXPECT_EQ(levelStepColour(0), lowest);
    EXPECT_EQ(levelStepColour(-7), lowest);
}

TEST(MeterPalette, BarStripesFallTowardsGreenByTheRedZoneThreshold)
{
    // Top stripe: the level's own colour index.
    EXPECT_EQ(barStripePaletteIndex(3001, 100, 100, 200, 20), 3001);
    // Halfway down with threshold 20 (k = 0.9448): 3001 - 50 x 3000 / 100 x 0.9448.
    EXPECT_EQ(barStripePaletteIndex(3001, 150, 100, 200, 20), 1583);
    // At the bottom: threshold 22 (k = 1.0004) goes right down, threshold 4 (k = 0.5)
    // only halfway.
    EXPECT_EQ(barStripePaletteIndex(4000, 200, 100, 200, 22), 0);
    EXPECT_EQ(barStripePaletteIndex(4000, 200, 100, 200, 4), 2000);
    EXPECT_EQ(barStripeColour(4000, 200, 100, 200, 4), MeterPalette::shared().at(2000));
}

TEST(MeterPalette, BarStripeIndexNeverLeavesThePalette)
{
    // A full-scale reading (the simulation's top segment gives 4095) must not read one
    // past the last colour.
    EXPECT_EQ(barStripePaletteIndex(4095, 10, 10, 177, 20), 4094);
    EXPECT_EQ(barStripeColour(4095, 10, 10, 177, 20), (Rgb{226, 73, 38}));
    EXPECT_EQ(barStripePaletteIndex(4095, 177, 10, 177, 22), 0); // -0.64 -> 0
    EXPECT_EQ(barStripePaletteIndex(4000, 177, 10, 177, 500), 0);
    EXPECT_EQ(barStripePaletteIndex(4000, 177, 10, 177, -500), 4094);
    // No bar height: no division by zero.
    EXPECT_EQ(barStripePaletteIndex(1234, 50, 50, 50, 20), 1234);
    EXPECT_EQ(barStripePaletteIndex(5000, 50, 50, 50, 20), 4094);
}
